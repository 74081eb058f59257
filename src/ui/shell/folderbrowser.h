#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <string>
#include <vector>

namespace twinsift {

class ProbeThreads;
template <typename Target> class MainThreadMailbox;

// The folders of the built-in folder chooser: the one being shown and the
// folders inside it. Folders are read on background threads, never on the
// main thread, so a dead network mount leaves the dialog usable: the list
// waits, and a later request wins over an earlier one.
class FolderBrowser : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QUrl folder READ folder NOTIFY folderChanged)
    Q_PROPERTY(QString folderText READ folderText NOTIFY folderChanged)
    Q_PROPERTY(bool atTop READ atTop NOTIFY folderChanged)
    Q_PROPERTY(bool loading READ loading NOTIFY loadingChanged)
    Q_PROPERTY(QString errorText READ errorText NOTIFY errorTextChanged)

public:
    enum Role { NameRole = Qt::UserRole + 1, UrlRole };

    explicit FolderBrowser(QObject *parent = nullptr);
    ~FolderBrowser() override;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    QUrl folder() const;
    QString folderText() const;
    bool atTop() const { return m_folder == "/"; }
    bool loading() const { return m_loading; }
    QString errorText() const { return m_errorText; }

    // Shows folder; where it cannot be read, the home folder instead.
    Q_INVOKABLE void start(const QUrl &folder);
    Q_INVOKABLE void show(const QUrl &folder);
    Q_INVOKABLE void showParent();
    Q_INVOKABLE void showHome();
    // Shows the folder the user typed: "~" is the home folder, and a
    // relative path is taken inside the folder being shown. With choose,
    // typedFolderReady follows once it is known to be a folder.
    Q_INVOKABLE void showTyped(const QString &text, bool choose);
    Q_INVOKABLE QUrl urlAt(int row) const;

signals:
    void folderChanged();
    void loadingChanged();
    void errorTextChanged();
    void typedFolderReady(const QUrl &folder);

private:
    enum class Then { Show, FallBackHome, Choose };
    void request(std::string path, Then then, QString typed = {});
    void listed(quint64 generation, const std::string &path, Then then, const QString &typed,
                int error, std::vector<std::string> names);
    void setLoading(bool loading);
    void setErrorText(const QString &text);

    std::string m_folder;
    std::vector<std::string> m_names;
    std::vector<QString> m_displayNames;
    bool m_loading = false;
    QString m_errorText;
    quint64 m_generation = 0;
    std::shared_ptr<ProbeThreads> m_threads;
    std::shared_ptr<MainThreadMailbox<FolderBrowser>> m_mailbox;
};

} // namespace twinsift
