#pragma once

#include "layout.h"
#include "zoom.h"

#include <QEvent>
#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QDropEvent;
class QFocusEvent;
class QLabel;
class QWheelEvent;
class QLineEdit;
class QPushButton;
class Form;

// Keeps track of the program's windows and ends the program once none of them is loaded.
class FormRegistry {
public:
    FormRegistry();
    ~FormRegistry();
    FormRegistry(const FormRegistry&) = delete;
    FormRegistry& operator=(const FormRegistry&) = delete;

    void add(Form* form) { m_forms.push_back(form); }
    bool anyLoaded() const;
    // Whether the window is one of the program's forms'.
    bool isFormWindow(const QWidget* window) const;
    // Called after every unload. Once the running handler has returned, the program ends if
    // no form is loaded then; a hidden window still counts as loaded.
    void formUnloaded();
    // What "the program ends" means: by default the event loop quits. Tests watch it instead.
    void setEndOfProgram(std::function<void()> end) { m_end = std::move(end); }

    // The zoom level of all the program's windows, in percent; each run starts at 100 %.
    int zoom() const { return m_zoom; }
    // Every window, loaded or not, follows. A larger level at which a window would not fit the
    // available area of its screen is not taken.
    void zoomBy(zoom::Step step);
    void wheelTurned(const QWheelEvent& event);

private:
    std::vector<Form*> m_forms;
    int m_zoom = zoom::Normal;
    zoom::Wheel m_wheel;
    std::function<void()> m_end;
    QObject m_context; // cancels a pending check when the registry goes
    bool m_endCheckPending = false;
};

// One window of the program. The instance lives as long as the program; the window and its
// controls exist only while the form is loaded, and every load builds them anew from the
// form's layout table. Anything that touches a control of an unloaded form loads it first,
// hidden, running its Load handler.
class Form : public QObject {
public:
    enum class State { Unloaded, Hidden, Shown };

    Form(FormRegistry& registry, FormSpec sheet);
    ~Form() override;

    const QString& name() const { return m_spec.name; }
    State state() const;
    // Whether this is the form's window; never loads it.
    bool isWindow(const QWidget* window) const { return window && m_window.get() == window; }
    bool isLoaded() const { return state() != State::Unloaded; }
    // How many times the window has been built; each build runs the Load handler.
    int loads() const { return m_loads; }

    void load();
    // Modeless, without an owner: loads if needed, shows and brings the window to the front.
    void show();
    // Runs Form_Unload, which may cancel; otherwise the window and its controls go. Safe from
    // inside one of this form's own handlers: the widgets are deleted only after it returns.
    void unload();

    QWidget* window();
    QWidget* control(const QString& name);
    QWidget* control(const QString& array, int index) { return control(controlName(array, index)); }
    QLineEdit* textBox(const QString& array, int index) { return textBox(controlName(array, index)); }
    QLineEdit* textBox(const QString& name);
    // The first count boxes of a control array, in index order.
    std::vector<QLineEdit*> textBoxes(const QString& array, int count);
    // Selects the whole text of every box, so that typing into the one entered replaces it.
    static void selectWholeTexts(const std::vector<QLineEdit*>& boxes);
    QLabel* label(const QString& name);
    QComboBox* list(const QString& name);
    QPushButton* button(const QString& name);

    // Lays the window out again at a zoom level, if it is loaded: its client area takes the
    // zoomed size, its top-left corner stays unless the window would leave its screen.
    void zoomTo(int percent);
    // Whether the window at that level fits the available area of its screen.
    bool fitsScreen(int percent) const;

    // Moves the keyboard focus to a control of this form. When the window is not the active
    // one, the window is brought to the front and the control's GotFocus runs when the focus
    // lands there, although the toolkit reports that landing as an activation.
    void setFocus(QWidget* control);

protected:
    const FormRegistry& registry() const { return m_registry; }
    virtual void Form_Load() {}
    virtual void Form_Unload(qint16& cancel) { Q_UNUSED(cancel); }

    // Handlers are registered once, by name; each load connects them to the new controls.
    void onClick(const QString& button, std::function<void()> handler);
    void onGotFocus(const QString& array, std::function<void(int index)> handler);
    void onLostFocus(const QString& array, std::function<void(int index)> handler);
    // A standard key of the desktop (Ctrl+P, Ctrl+Q...), answered wherever the focus is in the
    // window. Given a button, the key runs that button's Click handler, and the button's tooltip
    // names the key: "Print the statement (Ctrl+P)".
    void onKey(QKeySequence::StandardKey key, std::function<void()> handler);
    // A key of the program's own, where the desktop has no standard one.
    void onKey(const QKeySequence& key, std::function<void()> handler);
    void onKey(QKeySequence::StandardKey key, const QString& button, const QString& tip);
    // Files dropped anywhere on the window, from a file manager say. The handler runs once the
    // drop is over, so that the program it came from is not kept waiting by a message box.
    void onFilesDropped(std::function<void(const QStringList& files)> handler);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class FormWindow;
    struct Member {
        QString array;
        int index;
    };
    void destroyWindow();
    void pressEnter();
    // The parts of eventFilter: each returns whether it took the event.
    // Ctrl and the wheel zoom every window of the program.
    bool wheelTurned(const QWheelEvent& wheel);
    // A file dragged over the window is taken wherever it is, and handed over once dropped.
    bool fileDragged(QDropEvent* drop);
    // A press on a control of the form, which the click into a box may take.
    bool clickedInto(const QObject* control);
    // The GotFocus and LostFocus of the form's controls.
    bool focusMoved(QObject* control, QFocusEvent* event);
    // The GotFocus (FocusIn) or LostFocus (FocusOut) handler of a control, bound to its index.
    std::function<void()> focusHandler(const QObject* control, QEvent::Type type) const;

    FormRegistry& m_registry;
    const FormSpec m_spec;
    std::unique_ptr<QWidget> m_window;
    QHash<QString, QWidget*> m_controls;
    QHash<const QObject*, Member> m_members;
    QPointer<QPushButton> m_defaultButton;
    std::vector<QWidget*> m_tabOrder;
    QPointer<QWidget> m_pendingGotFocus;
    const QObject* m_enteredByClick = nullptr; // compared only, never used
    bool m_unloading = false;
    bool m_afterMessageBox = false; // a message box took the keyboard from this window
    int m_loads = 0;

    QHash<QString, std::function<void()>> m_click;
    QHash<QString, std::function<void(int)>> m_gotFocus;
    QHash<QString, std::function<void(int)>> m_lostFocus;
    struct Key {
        QList<QKeySequence> keys; // a standard key may have several
        std::function<void()> handler;
        QString button, tip;
    };
    std::vector<Key> m_keys;
    std::function<void(const QStringList&)> m_fileDropped;
};

// While one lives, the program's windows take no keys, clicks or wheel turns: each is refused
// with the desktop's beep, so that nothing changes a form while the program works on it. The
// windows are still drawn and read by a screen reader, their close boxes still close them, and
// a file dropped on one is still handed over.
class InputHold : public QObject {
public:
    explicit InputHold(const FormRegistry& registry);
    ~InputHold() override;
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const FormRegistry& m_registry;
};
