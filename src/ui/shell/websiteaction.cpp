#include "websiteaction.h"

#include "desktopfiles.h"

namespace twinsift {

namespace {
constexpr auto website = "https://ambrivo.com";
} // namespace

QString WebsiteAction::address() {
    return QString::fromLatin1(website);
}

QUrl WebsiteAction::url() {
    const QUrl page(address() + QLatin1Char('/'), QUrl::StrictMode);
    return page.isValid() && !page.host().isEmpty() ? page : QUrl();
}

QString WebsiteAction::unansweredMessage() {
    return tr("No web browser is available.");
}

void WebsiteAction::openWebsite(const QJSValue &unanswered) {
    const QUrl page = url();
    if (!page.isValid())
        return;
    DesktopFiles::openUrl(page, [unanswered]() mutable {
        if (unanswered.isCallable())
            unanswered.call({unansweredMessage()});
    });
}

} // namespace twinsift
