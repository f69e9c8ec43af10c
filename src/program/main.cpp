#include "forms.h"
#include "statement/statement_form.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QStringConverter>
#include <QTimer>

#include <cstdio>
#include <optional>

namespace {

// Qt's own options, which QApplication takes out of the command line itself: accepted here
// without a word, so that they reach it. The first group takes a value.
const char* const qtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin",        "display", "name",
    "geometry", "qwindowgeometry",    "title",         "qwindowtitle",  "icon",    "qwindowicon",
    "style",    "stylesheet",         "session",       "qmljsdebugger", "visual"};
const char* const qtFlags[] = {"reverse", "sync", "testability", "widgetcount", "nograb", "dograb"};

// What the command line asks for: to end at once with this status (--help, --version, a
// mistake), or to start, with a statement to open.
struct Start {
    std::optional<int> exitStatus;
    QString file;
    QString fileProblem = {}; // why the file cannot be opened, known from its name alone
};

// Answers --help and --version, and refuses what it does not know, before the GUI starts:
// none of that needs a display.
Start handleCommandLine(int argc, char* argv[])
{
    QStringList args, undecodable;
    for (int i = 0; i < argc; ++i) {
        args.append(QString::fromLocal8Bit(argv[i]));
        // A name the system's character set cannot decode names no file the program can reach.
        if (QFile::encodeName(args.last()) != QByteArray(argv[i]))
            undecodable.append(args.last());
    }
    const QString program = QStringLiteral("qm415");
    if (!args.isEmpty())
        args.first() = program;

    QCommandLineParser parser;
    // Qt's options are single-dash words (-platform, -style): read every option that way.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Fill in, check, total and print a station's monthly financial statement "
                       "(FORM QM-415).\nQt's usual options, such as -platform, -style and "
                       "-display, are accepted too."));
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A statement saved as a PDF file, to open."),
                                 QStringLiteral("[file]"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    for (const char* name : qtOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : qtFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    if (!parser.parse(args)) {
        std::fprintf(stderr, "%s: %s Try '%s --help'.\n", qPrintable(program),
                     qPrintable(parser.errorText()), qPrintable(program));
        return {2, {}};
    }
    if (parser.isSet(help)) {
        // Qt's usage line would name the parser's placeholder, not the program.
        const QString text = parser.helpText();
        std::fputs(qPrintable(QStringLiteral("Usage: %1 [options] [file]").arg(program) +
                              text.mid(text.indexOf(QLatin1Char('\n')))),
                   stdout);
        return {0, {}};
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(program), QM415_VERSION);
        return {0, {}};
    }
    // One statement at a time: a second file is a mistake.
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "%s: Unexpected argument '%s'. Try '%s --help'.\n",
                     qPrintable(program), qPrintable(files.at(1)), qPrintable(program));
        return {2, {}};
    }
    const QString file = files.value(0);
    return {std::nullopt, file,
            undecodable.contains(file)
                ? QStringLiteral("its name is not valid in the system's character set (%1)")
                      .arg(QString::fromLatin1(QStringConverter::nameForEncoding(
                          QStringConverter::System)))
                : QString()};
}

} // namespace

int main(int argc, char* argv[])
{
    const Start start = handleCommandLine(argc, argv);
    if (start.exitStatus)
        return *start.exitStatus;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qm415"));
    QApplication::setApplicationVersion(QStringLiteral(QM415_VERSION));
    // The desktop matches the window to its entry and icon by this id.
    QApplication::setDesktopFileName(QStringLiteral(QM415_APP_ID));
    // The program ends when no window is loaded any more, not when the last one is hidden.
    QApplication::setQuitOnLastWindowClosed(false);

    int result = 0;
    {
        Forms forms;
        frmQM415().load();
        frmQM415().show();
        // Once the window is up: a file refused is said over it, and the empty form stays.
        if (!start.file.isEmpty())
            QTimer::singleShot(0, &frmQM415(), [&start] {
                if (start.fileProblem.isEmpty())
                    frmQM415().openFile(start.file);
                else
                    StatementForm::refuseFile(start.file, start.fileProblem);
            });
        result = QApplication::exec();
        // Windows unloaded by the last handler are still waiting to be deleted.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return result;
}
