#include "form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QWheelEvent>

#include <utility>

// The top-level window of a form: its close box unloads the form, and Enter clicks a button.
class FormWindow : public QWidget {
public:
    explicit FormWindow(Form& form) : m_form(form) {}

protected:
    void closeEvent(QCloseEvent* event) override
    {
        // The form decides: its Unload handler may keep the window.
        event->ignore();
        m_form.unload();
    }

    // Controls pass on the Enter they do not use themselves; a plain window has no default
    // button of its own, so the form plays that part.
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            m_form.pressEnter();
            return;
        }
        QWidget::keyPressEvent(event);
    }

private:
    Form& m_form;
};

namespace {
// A window that would leave the available area of its screen moves back onto it.
void keepOnScreen(QWidget* window)
{
    const QRect area = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    if (x != frame.left() || y != frame.top())
        window->move(x, y);
}
} // namespace

FormRegistry::FormRegistry() : m_end([] { QCoreApplication::quit(); }) {}

FormRegistry::~FormRegistry() = default;

bool FormRegistry::anyLoaded() const
{
    return std::any_of(m_forms.begin(), m_forms.end(), [](Form* f) { return f->isLoaded(); });
}

bool FormRegistry::isFormWindow(const QWidget* window) const
{
    return std::any_of(m_forms.begin(), m_forms.end(),
                       [window](Form* f) { return f->isWindow(window); });
}

void FormRegistry::formUnloaded()
{
    if (m_endCheckPending)
        return;
    m_endCheckPending = true;
    QMetaObject::invokeMethod(
        &m_context,
        [this] {
            m_endCheckPending = false;
            if (!anyLoaded() && m_end)
                m_end();
        },
        Qt::QueuedConnection);
}

void FormRegistry::zoomBy(zoom::Step step)
{
    const int level = zoom::next(m_zoom, step);
    if (level == m_zoom ||
        (level > m_zoom && !std::all_of(m_forms.begin(), m_forms.end(),
                                        [level](Form* f) { return f->fitsScreen(level); })))
        return;
    m_zoom = level;
    for (Form* form : m_forms)
        form->zoomTo(level);
}

void FormRegistry::wheelTurned(const QWheelEvent& event)
{
    if (const auto step = m_wheel.turned(event))
        zoomBy(*step);
}

Form::Form(FormRegistry& registry, FormSpec sheet) : m_registry(registry), m_spec(std::move(sheet))
{
    m_registry.add(this);
}

Form::~Form()
{
    // No handler may run for a window that goes with its form.
    m_members.clear();
    m_window.reset();
}

Form::State Form::state() const
{
    if (!m_window)
        return State::Unloaded;
    return m_window->isVisible() ? State::Shown : State::Hidden;
}

void Form::load()
{
    if (m_window)
        return;
    ++m_loads;
    BuiltWindow built = buildWindow(m_spec, std::make_unique<FormWindow>(*this), m_registry.zoom());
    m_window = std::move(built.window);
    m_controls = std::move(built.controls);
    m_defaultButton = built.defaultButton;
    m_tabOrder = std::move(built.tabOrder);
    if (m_spec.designLeft || m_spec.designTop) {
        m_window->move(toPixels(m_spec.designLeft), toPixels(m_spec.designTop));
        keepOnScreen(m_window.get());
    }
    for (const auto& [keys, step] : zoom::Keys) {
        auto* shortcut = new QShortcut(keys, m_window.get());
        connect(shortcut, &QShortcut::activated, this,
                [this, step = step] { m_registry.zoomBy(step); });
    }
    // Ctrl and the wheel over the window or any control zoom, also where a list would turn.
    m_window->installEventFilter(this);

    for (const ControlSpec& c : m_spec.controls) {
        QWidget* w = m_controls.value(controlName(c.name, c.index));
        m_members.insert(w, Member{c.name, c.index});
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            connect(button, &QPushButton::clicked, this, [this, name = c.name] {
                if (auto handler = m_click.value(name))
                    handler();
            });
        }
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
    }
    for (const Key& k : m_keys) {
        for (const QKeySequence& keys : k.keys)
            connect(new QShortcut(keys, m_window.get()), &QShortcut::activated, this, k.handler);
        // A desktop may leave a standard key unbound.
        const QString name = k.keys.value(0).toString(QKeySequence::NativeText);
        if (!k.button.isEmpty())
            button(k.button)->setToolTip(name.isEmpty() ? k.tip : k.tip + " (" + name + ')');
    }
    if (m_fileDropped) {
        // A file is taken wherever it lands, also on a box that would take its name as text.
        m_window->setAcceptDrops(true);
        for (QWidget* w : m_window->findChildren<QWidget*>())
            if (w->acceptDrops())
                w->installEventFilter(this);
    }
    Form_Load();
}

void Form::show()
{
    const bool fresh = !m_window;
    load();
    if (fresh && !m_tabOrder.empty()) {
        // A fresh window starts on the first control of its tab order.
        m_tabOrder.front()->setFocus(Qt::OtherFocusReason);
        m_pendingGotFocus = m_tabOrder.front();
    }
    if (m_window->isMinimized())
        m_window->showNormal();
    else
        m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void Form::unload()
{
    if (!m_window || m_unloading)
        return;
    m_unloading = true;
    qint16 cancel = 0;
    Form_Unload(cancel);
    m_unloading = false;
    if (cancel != 0)
        return;
    destroyWindow();
    m_registry.formUnloaded();
}

void Form::destroyWindow()
{
    m_members.clear();
    m_controls.clear();
    m_tabOrder.clear();
    m_pendingGotFocus = nullptr;
    m_afterMessageBox = false;
    QWidget* window = m_window.release();
    for (QWidget* child : window->findChildren<QWidget*>())
        child->removeEventFilter(this);
    window->hide();
    // A handler of this form may still be running on one of the window's controls.
    window->deleteLater();
}

void Form::zoomTo(int percent)
{
    if (!m_window)
        return;
    layOut(m_spec, m_controls, m_window.get(), percent);
    m_window->resize(clientSize(m_spec, percent));
    keepOnScreen(m_window.get());
}

bool Form::fitsScreen(int percent) const
{
    const QWidget* w = m_window.get();
    const QSize frame = w ? w->frameGeometry().size() - w->size() : QSize();
    const QSize size = clientSize(m_spec, percent) + frame;
    const QRect area = (w ? w->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    return size.width() <= area.width() && size.height() <= area.height();
}

QWidget* Form::window()
{
    load();
    return m_window.get();
}

QWidget* Form::control(const QString& name)
{
    load();
    QWidget* w = m_controls.value(name);
    Q_ASSERT_X(w, "Form::control", qPrintable(m_spec.name + QLatin1Char('.') + name));
    return w;
}

QLineEdit* Form::textBox(const QString& name) { return qobject_cast<QLineEdit*>(control(name)); }

std::vector<QLineEdit*> Form::textBoxes(const QString& array, int count)
{
    std::vector<QLineEdit*> boxes;
    for (int i = 0; i < count; ++i)
        boxes.push_back(textBox(array, i));
    return boxes;
}

void Form::selectWholeTexts(const std::vector<QLineEdit*>& boxes)
{
    for (QLineEdit* box : boxes)
        box->setSelection(0, int(box->text().size()));
}

QLabel* Form::label(const QString& name) { return qobject_cast<QLabel*>(control(name)); }

QComboBox* Form::list(const QString& name) { return qobject_cast<QComboBox*>(control(name)); }

QPushButton* Form::button(const QString& name) { return qobject_cast<QPushButton*>(control(name)); }

void Form::setFocus(QWidget* control)
{
    QWidget* win = control->window();
    if (win->isActiveWindow()) {
        control->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Right after a message box of this window closes, the window has not got the keyboard
    // back yet; a move made then is still one inside the window, so the control left gets its
    // LostFocus, after the focus has been set on its way as the toolkit does. That LostFocus
    // may move the focus on again.
    QWidget* left = std::exchange(m_afterMessageBox, false) && win == m_window.get()
                        ? win->focusWidget()
                        : nullptr;
    m_pendingGotFocus = control;
    control->setFocus(Qt::OtherFocusReason);
    if (left && left != control) {
        if (const auto handler = focusHandler(left, QEvent::FocusOut))
            handler();
    }
    win->raise();
    win->activateWindow();
}

void Form::onClick(const QString& button, std::function<void()> handler)
{
    m_click.insert(button, std::move(handler));
}

void Form::onGotFocus(const QString& array, std::function<void(int)> handler)
{
    m_gotFocus.insert(array, std::move(handler));
}

void Form::onLostFocus(const QString& array, std::function<void(int)> handler)
{
    m_lostFocus.insert(array, std::move(handler));
}

void Form::onKey(QKeySequence::StandardKey key, std::function<void()> handler)
{
    m_keys.push_back({QKeySequence::keyBindings(key), std::move(handler), {}, {}});
}

void Form::onKey(const QKeySequence& key, std::function<void()> handler)
{
    m_keys.push_back({{key}, std::move(handler), {}, {}});
}

void Form::onKey(QKeySequence::StandardKey key, const QString& button, const QString& tip)
{
    m_keys.push_back({QKeySequence::keyBindings(key),
                      [this, button] {
                          if (auto handler = m_click.value(button))
                              handler();
                      },
                      button, tip});
}

void Form::onFilesDropped(std::function<void(const QStringList&)> handler)
{
    m_fileDropped = std::move(handler);
}

namespace {
// The local files a drag carries: none where it carries anything else.
QStringList draggedFiles(const QMimeData* data)
{
    QStringList files;
    for (const QUrl& url : data ? data->urls() : QList<QUrl>()) {
        if (!url.isLocalFile())
            return {};
        files << url.toLocalFile();
    }
    return files;
}
} // namespace

void Form::pressEnter()
{
    QWidget* focus = m_window ? m_window->focusWidget() : nullptr;
    if (auto* button = qobject_cast<QPushButton*>(focus))
        button->click();
    else if (m_defaultButton && m_defaultButton->isVisible())
        m_defaultButton->click();
}

bool Form::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Wheel:
        return wheelTurned(*static_cast<QWheelEvent*>(event));
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return m_fileDropped && fileDragged(static_cast<QDropEvent*>(event));
    case QEvent::MouseButtonPress:
        return m_members.contains(watched) && clickedInto(watched);
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        return m_members.contains(watched) && focusMoved(watched, static_cast<QFocusEvent*>(event));
    default:
        return false;
    }
}

bool Form::wheelTurned(const QWheelEvent& wheel)
{
    if (!zoom::Wheel::zooms(wheel))
        return false;
    m_registry.wheelTurned(wheel);
    return true;
}

bool Form::fileDragged(QDropEvent* drop)
{
    const QStringList files = draggedFiles(drop->mimeData());
    if (files.isEmpty())
        return false;
    drop->acceptProposedAction();
    if (drop->type() == QEvent::Drop)
        QMetaObject::invokeMethod(
            this, [handler = m_fileDropped, files] { handler(files); }, Qt::QueuedConnection);
    return true;
}

bool Form::clickedInto(const QObject* control)
{
    // The click that brought the focus into a box only does that, so that the whole text
    // its GotFocus selected stays selected; the next click places the cursor.
    const bool entering = control == m_enteredByClick;
    m_enteredByClick = nullptr;
    return entering;
}

bool Form::focusMoved(QObject* control, QFocusEvent* event)
{
    const auto type = event->type();
    // Activation changes and popups are not focus moves: each window keeps its control.
    const auto reason = event->reason();
    m_enteredByClick = type == QEvent::FocusIn && reason == Qt::MouseFocusReason &&
                               qobject_cast<QLineEdit*>(control) &&
                               m_gotFocus.contains(m_members.value(control).array)
                           ? control
                           : nullptr;
    // A message box taking the keyboard from this window leaves it waiting for the handler's
    // next move; the window getting the keyboard back ends that wait.
    if (reason == Qt::ActiveWindowFocusReason)
        m_afterMessageBox = type == QEvent::FocusOut && QApplication::activeModalWidget();
    bool moved = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
    if (type == QEvent::FocusIn && control == m_pendingGotFocus) {
        m_pendingGotFocus = nullptr;
        moved = true;
    }
    if (!moved)
        return false;

    const auto handler = focusHandler(control, type);
    if (!handler)
        return false;
    // The control settles its own focus change first (a text box selects or deselects), so
    // that what the handler sets is what stays.
    control->event(event);
    handler();
    return true;
}

std::function<void()> Form::focusHandler(const QObject* control, QEvent::Type type) const
{
    const auto member = m_members.constFind(control);
    if (member == m_members.constEnd())
        return {};
    // Copies: the handler may unload the form, which clears these tables.
    const int index = member->index;
    auto handler = (type == QEvent::FocusIn ? m_gotFocus : m_lostFocus).value(member->array);
    if (!handler)
        return {};
    return [handler = std::move(handler), index] { handler(index); };
}

InputHold::InputHold(const FormRegistry& registry) : m_registry(registry)
{
    qApp->installEventFilter(this);
}

InputHold::~InputHold() { qApp->removeEventFilter(this); }

bool InputHold::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
        break;
    default:
        return false;
    }
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !m_registry.isFormWindow(widget->window()))
        return false;
    // Taken by the control, so that no shortcut of the window answers the key either.
    if (event->type() == QEvent::ShortcutOverride)
        event->accept();
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress)
        QApplication::beep();
    return true;
}
