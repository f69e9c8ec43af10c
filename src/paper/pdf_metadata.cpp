#include "pdf_metadata.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace pdf_metadata {
namespace {

// Where a PDF says what it is and where it ends; a reader looks for either within a kilobyte.
constexpr qint64 MarkerRoom = 1024;
// Of what the reader says on its way, enough to tell why it stopped.
constexpr qsizetype ErrorRoom = 4096;

QString damaged() { return QStringLiteral("the PDF is damaged or incomplete"); }

// Why the file cannot be read as a PDF before any reader looks inside, if it cannot.
QString refusedAtOnce(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("it is a folder");
    // A pipe or a device would keep the open waiting, or never end.
    if (info.exists() && !info.isFile())
        return QStringLiteral("it is not a file");
    // A name the system's character set could not decode reached the program changed: as it
    // came, it names no file there is.
    if (!info.exists() && !info.isSymLink() && path.contains(QChar::ReplacementCharacter))
        return QStringLiteral("its name is not valid in the system's character set (UTF-8)");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    if (file.size() > MaxFileSize)
        return QStringLiteral("it is larger than the 10 MiB a statement can be");
    // A PDF starts by saying so and ends with its end marker; a file cut short has none.
    if (!file.read(MarkerRoom).contains("%PDF-"))
        return QStringLiteral("it is not a PDF file");
    if (!file.seek(std::max<qint64>(0, file.size() - MarkerRoom)) ||
        !file.read(MarkerRoom).contains("%%EOF"))
        return damaged();
    return {};
}

// The reader's own limits, set in its process before poppler starts: memory and processor time,
// and its end with the program's, also where the program is killed.
void limitReader(pid_t program)
{
    const rlimit memory{rlim_t(ReaderMemory), rlim_t(ReaderMemory)};
    setrlimit(RLIMIT_AS, &memory);
    const rlimit time{rlim_t(ReadingSeconds), rlim_t(ReadingSeconds + 1)};
    setrlimit(RLIMIT_CPU, &time);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The program may have ended before the line above.
    if (getppid() != program)
        _exit(127);
}

} // namespace

Reader::Reader(QObject* parent) : QObject(parent)
{
    m_clock.setSingleShot(true);
    m_clock.setInterval(ReadingSeconds * 1000);
    connect(&m_clock, &QTimer::timeout, this, [this] {
        finish({{}, QStringLiteral("reading it took longer than %1 seconds").arg(ReadingSeconds)});
    });
    // A file refused before any reading is said as a reading's end is: from the event loop.
    m_refusal.setSingleShot(true);
    m_refusal.setInterval(0);
    connect(&m_refusal, &QTimer::timeout, this, [this] { finish({{}, m_refused}); });
}

Reader::~Reader() { cancel(); }

void Reader::start(const QString& path, Part part, qint64 maxBytes)
{
    cancel();
    m_reading = true;
    m_maxBytes = maxBytes;
    m_out.clear();
    m_errors.clear();
    m_refused = refusedAtOnce(path);
    const QString reader = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (m_refused.isEmpty() && reader.isEmpty())
        m_refused = QStringLiteral("the PDF reader pdfinfo (from poppler-utils) is not installed");
    if (!m_refused.isEmpty()) {
        m_refusal.start();
        return;
    }
    m_process = new QProcess(this);
    m_process->setProgram(reader);
    // An absolute path: a file named like an option is still a file.
    const QString file = QFileInfo(path).absoluteFilePath();
    m_process->setArguments(part == Part::Metadata ? QStringList{QStringLiteral("-meta"), file}
                                                   : QStringList{QStringLiteral("-enc"),
                                                                 QStringLiteral("UTF-8"), file});
    const pid_t program = getpid();
    m_process->setChildProcessModifier([program] { limitReader(program); });
    connect(m_process, &QProcess::readyReadStandardOutput, this, [this] {
        m_out += m_process->readAllStandardOutput();
        if (m_out.size() > m_maxBytes)
            finish({{}, QStringLiteral("its metadata is far larger than a statement's")});
    });
    connect(m_process, &QProcess::readyReadStandardError, this, [this] {
        m_errors += m_process->readAllStandardError().left(ErrorRoom - m_errors.size());
    });
    connect(m_process, &QProcess::finished, this, &Reader::processEnded);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish({{}, QStringLiteral("the PDF reader pdfinfo could not be started")});
    });
    m_clock.start();
    m_process->start(QIODevice::ReadOnly);
}

void Reader::cancel()
{
    m_clock.stop();
    m_refusal.stop();
    m_reading = false;
    if (!m_process)
        return;
    // Nothing of the reading may call back any more. The process goes once the signal that may
    // have brought the reading here has returned.
    QProcess* process = std::exchange(m_process, nullptr);
    process->disconnect(this);
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished();
    }
    process->deleteLater();
}

void Reader::finish(const Read& read)
{
    cancel();
    emit done(read);
}

void Reader::processEnded()
{
    QProcess& pdfinfo = *m_process;
    m_out += pdfinfo.readAllStandardOutput();
    m_errors += pdfinfo.readAllStandardError().left(ErrorRoom - m_errors.size());
    if (m_out.size() > m_maxBytes)
        return finish({{}, QStringLiteral("its metadata is far larger than a statement's")});
    // poppler says so when an allocation fails, as it does at the memory limit.
    if (m_errors.contains("bad_alloc") || m_errors.contains("Out of memory"))
        return finish({{}, QStringLiteral("reading it needed more than the %1 MiB of memory a "
                                          "statement takes")
                               .arg(ReaderMemory >> 20)});
    if (pdfinfo.exitStatus() == QProcess::CrashExit) {
        // The process's end by a signal: the processor-time limit's, or another.
        const int signal = pdfinfo.exitCode();
        if (signal == SIGXCPU || signal == SIGKILL)
            return finish({{}, QStringLiteral("reading it took more than %1 seconds of processor "
                                              "time")
                                   .arg(ReadingSeconds)});
        return finish({{}, QStringLiteral("the PDF reader pdfinfo broke down reading it")});
    }
    if (pdfinfo.exitCode() != 0)
        return finish({{}, m_errors.contains("Incorrect password")
                               ? QStringLiteral("it is protected by a password")
                               : damaged()});
    const QByteArray out = std::exchange(m_out, {});
    finish({out, {}});
}

QString infoField(const QByteArray& info, const QString& name)
{
    const QByteArray key = name.toUtf8() + ':';
    for (const QByteArray& line : info.split('\n'))
        if (line.startsWith(key))
            return QString::fromUtf8(line.mid(key.size())).trimmed();
    return {};
}

} // namespace pdf_metadata
