#include "websiteaction.h"

#include <QDesktopServices>

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

void WebsiteAction::openWebsite() {
    const QUrl page = url();
    if (page.isValid())
        QDesktopServices::openUrl(page);
}

} // namespace twinsift
