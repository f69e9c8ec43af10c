#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The program's only way to tell the user something: a modal message box with a
// prompt, a style and a title, answering which button was pressed.
namespace dialogs {

// Styles: the icon plus the buttons, as one number.
inline constexpr int Information = 64; // information icon, OK
inline constexpr int QuestionOk = 32;  // question icon, OK
inline constexpr int YesNo = 36;       // question icon, Yes and No, Yes the default

// Answers.
inline constexpr int Ok = 1;
inline constexpr int Yes = 6;
inline constexpr int No = 7;

// The prompt and the title are plain text: a name or a text from outside the program shows as
// it is, never as markup.
int msgBox(const QString& prompt, int style, const QString& title);

// A name from outside the program (a file's) as a message shows it: a control character in it,
// a line break say, as the replacement character, so that the name cannot lay out the message.
QString shownName(QString name);

// Tests answer the boxes themselves; an empty responder brings back the real dialogs.
using Responder = std::function<int(const QString& prompt, int style, const QString& title)>;
void setResponder(Responder responder);

// The desktop's file dialogs.
enum class FileAccess { Open, Save, OpenSeveral };

// Opened in the folder of the suggested path with its file name filled in (to save) or in that
// folder (to open): the chosen path, or "" when the user cancels.
QString fileName(FileAccess access, const QString& title, const QString& suggestedPath,
                 const QString& filter);

// Opened in a folder, for one or more existing files: the chosen paths, none when the user
// cancels. (A chooser of the tests gives them one a line.)
QStringList fileNames(const QString& title, const QString& folder, const QString& filter);

// Tests choose the file themselves; an empty chooser brings back the real dialog.
using FileChooser = std::function<QString(FileAccess access, const QString& title,
                                          const QString& suggestedPath, const QString& filter)>;
void setFileChooser(FileChooser chooser);

} // namespace dialogs
