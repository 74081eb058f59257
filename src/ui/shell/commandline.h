#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace twinsift {

// `twinsift [FOLDER]`: what a file manager's "Open With" and a terminal hand
// over. Options are read by QCommandLineParser; the folder is taken from the
// raw argument bytes, since a name need not be valid UTF-8 and Qt's decoded
// arguments would not give it back.
class CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    struct Parsed {
        // Standardised path bytes of the folder to choose.
        std::optional<std::string> folder;
        // Set when the process should end at once: the text to print, and
        // whether it is an error.
        std::optional<QString> exitText;
        bool failed = false;
    };

    // rawArguments are argv as bytes, the program name first; arguments the
    // same, decoded as QCoreApplication::arguments() does.
    static Parsed parse(const QStringList &arguments, const std::vector<std::string> &rawArguments);

    // Whether the command line asks for help or the version, which need
    // no window system.
    static bool asksOnlyForText(int argc, char **argv);

    // Parses the running process's command line. For --help, --version and
    // a wrong command line it prints and sets exitCode, and the process
    // should end with it.
    static std::optional<std::string> folderOfProcess(int argc, char **argv,
                                                      std::optional<int> &exitCode);
};

} // namespace twinsift
