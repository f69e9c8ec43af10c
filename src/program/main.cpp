#include "forms.h"
#include "statement/statement_form.h"
#include "summary/summary_command.h"
#include "summary/summary_form.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGuiApplication>
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
// mistake), or to start, with a statement to open, or with a summary of statements to show or
// to write (CSV, PDF) without a window.
struct Start {
    std::optional<int> exitStatus;
    QStringList files = {}; // a statement to open, or the statements to summarise
    bool summary = false;
    QString csv = {}, pdf = {};
};

int usageError(const QString& program, const QString& what)
{
    std::fprintf(stderr, "%s: %s Try '%s --help'.\n", qPrintable(program), qPrintable(what),
                 qPrintable(program));
    return 2;
}

// Answers --help and --version, and refuses what it does not know, before the GUI starts:
// none of that needs a display.
Start handleCommandLine(int argc, char* argv[])
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const QString program = QStringLiteral("qm415");
    if (!args.isEmpty())
        args.first() = program;

    QCommandLineParser parser;
    // Qt's options are single-dash words (-platform, -style): read every option that way.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral(
            "Fill in, check, total and print a station's monthly financial statement "
            "(FORM QM-415).\n"
            "With --summary, read many saved statements at once (the files named, and the .pdf "
            "files directly inside the folders named), check and total each as Calculate does, "
            "and show their summary; with --csv or --pdf, write it without a window. Exit status "
            "0 when every statement adds up and no station 1 to 34 is missing from a month "
            "summarised, 1 when anything is wrong (each problem a line on standard error), 2 for "
            "a mistake in the command line.\n"
            "In the statement, Ctrl+N after Calculate starts the same station's next month.\n"
            "Qt's usual options, such as -platform, -style and -display, are accepted too."));
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A statement saved as a PDF file, to open; with "
                                                "--summary, statements and folders of them."),
                                 QStringLiteral("[file...]"));
    const QCommandLineOption summary(QStringLiteral("summary"),
                                     QStringLiteral("Summarise the statements named."));
    const QCommandLineOption csv(QStringLiteral("csv"),
                                 QStringLiteral("Write the summary as CSV to the file ('-': "
                                                "standard output) and exit."),
                                 QStringLiteral("file"));
    const QCommandLineOption pdf(QStringLiteral("pdf"),
                                 QStringLiteral("Write the summary as a PDF to the file and exit."),
                                 QStringLiteral("file"));
    parser.addOptions({summary, csv, pdf});
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

    if (!parser.parse(args))
        return {usageError(program, parser.errorText())};
    if (parser.isSet(help)) {
        // Qt's usage line would name the parser's placeholder, not the program.
        const QString text = parser.helpText();
        std::fputs(qPrintable(QStringLiteral("Usage: %1 [options] [file]\n       %1 --summary "
                                             "[--csv FILE] [--pdf FILE] FILE|FOLDER...")
                                  .arg(program) +
                              text.mid(text.indexOf(QLatin1Char('\n')))),
                   stdout);
        return {0};
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(program), QM415_VERSION);
        return {0};
    }
    const QStringList files = parser.positionalArguments();
    if (!parser.isSet(summary)) {
        if (parser.isSet(csv) || parser.isSet(pdf))
            return {usageError(program, QStringLiteral("--csv and --pdf write a summary: they "
                                                       "need --summary."))};
        // One statement at a time: a second file is a mistake.
        if (files.size() > 1)
            return {usageError(program,
                               QStringLiteral("Unexpected argument '%1'.").arg(files.at(1)))};
        return {std::nullopt, files};
    }
    if (files.isEmpty())
        return {usageError(program, QStringLiteral("--summary needs the statements to read."))};
    Start start{std::nullopt, SummaryReading::filesOf(files), true, parser.value(csv),
                parser.value(pdf)};
    // A summary never takes the place of a statement it reads.
    for (const QString& output : {start.csv, start.pdf})
        if (!output.isEmpty() && output != QLatin1String("-") &&
            SummaryReading::isOneOf(output, start.files))
            return {usageError(program,
                               QStringLiteral("'%1' is one of the statements summarised.").arg(output))};
    return start;
}

} // namespace

int main(int argc, char* argv[])
{
    const Start start = handleCommandLine(argc, argv);
    if (start.exitStatus)
        return *start.exitStatus;

    // A summary written to a file needs no display: CSV no GUI at all, a PDF no screen.
    if (!start.csv.isEmpty() || !start.pdf.isEmpty()) {
        if (start.pdf.isEmpty()) {
            QCoreApplication app(argc, argv);
            QCoreApplication::setApplicationName(QStringLiteral("qm415"));
            return writeSummary(start.files, start.csv, start.pdf);
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        QGuiApplication::setApplicationName(QStringLiteral("qm415"));
        return writeSummary(start.files, start.csv, start.pdf);
    }

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
        if (start.summary) {
            frmSummary().summarise(start.files);
        } else {
            frmQM415().load();
            frmQM415().show();
            // Once the window is up: a file refused is said over it, and the empty form stays.
            if (!start.files.isEmpty())
                QTimer::singleShot(0, &frmQM415(), [&start] { frmQM415().openFile(start.files[0]); });
        }
        result = QApplication::exec();
        // Windows unloaded by the last handler are still waiting to be deleted.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return result;
}
