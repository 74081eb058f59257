#include "commandline.h"

#include "paths.h"

#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace twinsift {

namespace {
// The argument that is not an option: this command line has no options that
// take a value, so it is the one that does not start with "-", or anything
// after "--".
std::optional<std::string> positionalBytes(const std::vector<std::string> &raw) {
    bool optionsEnded = false;
    for (std::size_t i = 1; i < raw.size(); ++i) {
        const std::string &argument = raw[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-")
            return argument;
    }
    return std::nullopt;
}
} // namespace

CommandLine::Parsed CommandLine::parse(const QStringList &arguments,
                                       const std::vector<std::string> &rawArguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Find exact duplicate files in a folder, review them and move the copies you choose "
           "to the Trash."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FOLDER"), tr("The folder to choose for scanning."),
                                 QStringLiteral("[FOLDER]"));

    Parsed parsed;
    if (!parser.parse(arguments)) {
        parsed.exitText = parser.errorText();
        parsed.failed = true;
        return parsed;
    }
    if (parser.isSet(help)) {
        parsed.exitText = parser.helpText();
        return parsed;
    }
    if (parser.isSet(version)) {
        parsed.exitText =
            QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion();
        return parsed;
    }
    if (parser.positionalArguments().size() > 1) {
        parsed.exitText = tr("Give at most one folder.");
        parsed.failed = true;
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty())
        if (const auto folder = positionalBytes(rawArguments))
            parsed.folder = paths::standardized(*folder);
    return parsed;
}

bool CommandLine::asksOnlyForText(int argc, char **argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--")
            return false;
        for (std::string_view option : {"-h", "-?", "--help", "--help-all", "-v", "--version"})
            if (argument == option)
                return true;
    }
    return false;
}

std::optional<std::string> CommandLine::folderOfProcess(int argc, char **argv,
                                                        std::optional<int> &exitCode) {
    const std::vector<std::string> raw(argv, argv + argc);
    const Parsed parsed = parse(QCoreApplication::arguments(), raw);
    if (parsed.exitText) {
        std::fputs(qPrintable(*parsed.exitText + u'\n'), parsed.failed ? stderr : stdout);
        exitCode = parsed.failed ? EXIT_FAILURE : EXIT_SUCCESS;
    }
    return parsed.folder;
}

} // namespace twinsift
