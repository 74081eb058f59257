#include "folderbrowser.h"

#include "fileurls.h"
#include "mainthreadmailbox.h"
#include "pathorder.h"
#include "paths.h"
#include "probethreads.h"
#include "subfolders.h"

#include <QFile>

#include <cerrno>

namespace twinsift {

namespace {
// Two at most: a folder on a dead mount holds its thread for good, and the
// user may try another before giving up.
constexpr std::size_t listingThreads = 2;
} // namespace

FolderBrowser::FolderBrowser(QObject *parent)
    : QAbstractListModel(parent), m_threads(std::make_shared<ProbeThreads>(listingThreads)),
      m_mailbox(std::make_shared<MainThreadMailbox<FolderBrowser>>(this)) {}

FolderBrowser::~FolderBrowser() {
    m_mailbox->close();
}

int FolderBrowser::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant FolderBrowser::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto row = std::size_t(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case NameRole:
        return m_displayNames[row];
    case UrlRole:
        return fileurls::fromPath(paths::appending(m_folder, m_names[row]));
    default:
        return {};
    }
}

QHash<int, QByteArray> FolderBrowser::roleNames() const {
    return {{NameRole, "name"}, {UrlRole, "url"}};
}

QUrl FolderBrowser::folder() const {
    return m_folder.empty() ? QUrl() : fileurls::fromPath(m_folder);
}

QString FolderBrowser::folderText() const {
    return QString::fromStdString(paths::displayText(m_folder));
}

QUrl FolderBrowser::urlAt(int row) const {
    return data(index(row), UrlRole).toUrl();
}

void FolderBrowser::start(const QUrl &folder) {
    const std::string path = fileurls::toPath(folder);
    request(path.empty() ? paths::homeDirectory() : paths::standardized(path), Then::FallBackHome);
}

void FolderBrowser::show(const QUrl &folder) {
    const std::string path = fileurls::toPath(folder);
    if (!path.empty())
        request(paths::standardized(path), Then::Show);
}

void FolderBrowser::showParent() {
    if (!m_folder.empty() && !atTop())
        request(paths::parent(m_folder), Then::Show);
}

void FolderBrowser::showHome() {
    request(paths::homeDirectory(), Then::Show);
}

void FolderBrowser::showTyped(const QString &text, bool choose) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return;
    // What the user typed is text in the locale's encoding; the folder shown
    // is bytes, and a relative path joins them as bytes.
    std::string typed = QFile::encodeName(trimmed).toStdString();
    if (typed == "~" || typed.starts_with("~/"))
        typed = paths::homeDirectory() + typed.substr(1);
    else if (typed.front() != '/')
        typed = paths::appending(m_folder.empty() ? paths::homeDirectory() : m_folder, typed);
    request(paths::standardized(typed), choose ? Then::Choose : Then::Show, trimmed);
}

void FolderBrowser::request(std::string path, Then then, QString typed) {
    const quint64 generation = ++m_generation;
    setLoading(true);
    auto result = std::make_shared<Result<std::vector<std::string>>>(Failed<int>{EAGAIN});
    // Keys are unique, so no request joins another's and misses its list.
    const std::string key = path + '\n' + std::to_string(generation);
    m_threads->ask(
        key,
        [path, result](const std::string &) {
            auto names = listSubfolders(path);
            if (names) {
                PathOrder order;
                order.sort(*names, [](const std::string &name) { return std::string_view(name); });
            }
            *result = std::move(names);
            return result->ok();
        },
        [mailbox = m_mailbox, generation, path, then, typed, result](bool) {
            mailbox->post([=](FolderBrowser *browser) {
                const int error = result->ok() ? 0 : result->error();
                browser->listed(generation, path, then, typed, error,
                                error ? std::vector<std::string>{} : std::move(result->value()));
            });
        });
}

void FolderBrowser::listed(quint64 generation, const std::string &path, Then then,
                           const QString &typed, int error, std::vector<std::string> names) {
    if (generation != m_generation)
        return;
    if (error) {
        if (then == Then::FallBackHome && path != paths::homeDirectory()) {
            showHome();
            return;
        }
        setLoading(false);
        const QString shown =
            typed.isEmpty() ? QString::fromStdString(paths::displayText(path)) : typed;
        if (error == ENOENT || error == ENOTDIR)
            setErrorText(tr("There is no folder at “%1”.").arg(shown));
        else if (error == EACCES || error == EPERM)
            setErrorText(tr("You don’t have permission to open “%1”.").arg(shown));
        else
            setErrorText(tr("“%1” could not be opened.").arg(shown));
        return;
    }

    if (!m_names.empty()) {
        beginRemoveRows({}, 0, int(m_names.size()) - 1);
        m_names.clear();
        m_displayNames.clear();
        endRemoveRows();
    }
    m_folder = path;
    emit folderChanged();
    if (!names.empty()) {
        beginInsertRows({}, 0, int(names.size()) - 1);
        m_displayNames.reserve(names.size());
        for (const std::string &name : names)
            m_displayNames.push_back(QString::fromStdString(paths::displayText(name)));
        m_names = std::move(names);
        endInsertRows();
    }
    setErrorText({});
    setLoading(false);
    if (then == Then::Choose)
        emit typedFolderReady(folder());
}

void FolderBrowser::setLoading(bool loading) {
    if (loading == m_loading)
        return;
    m_loading = loading;
    emit loadingChanged();
}

void FolderBrowser::setErrorText(const QString &text) {
    if (text == m_errorText)
        return;
    m_errorText = text;
    emit errorTextChanged();
}

} // namespace twinsift
