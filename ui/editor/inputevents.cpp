#include "ui/editor/inputevents.h"

#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace corvane::editor {

namespace {

class InputEvents final : public QObject
{
public:
    InputEvents(QObject* parent, std::optional<KeyFilter> keys, std::function<void()> click,
                QWidget* inner = nullptr)
        : QObject(parent), m_keys(keys), m_click(std::move(click)), m_inner(inner)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && m_keys) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // Shortcuts are not typing.
            const bool shortcut =
                key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            if (!shortcut && !keyPasses(*m_keys, key->text()))
                return true;
        } else if (event->type() == QEvent::MouseButtonRelease && m_click) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            // A click on the inner edit reaches the outer widget as well.
            const bool passedOn = m_inner && watched != m_inner
                                  && m_inner->geometry().contains(mouse->position().toPoint());
            if (mouse->button() == Qt::LeftButton && !passedOn)
                m_click();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::optional<KeyFilter> m_keys;
    std::function<void()> m_click;
    QWidget* m_inner;
};

} // namespace

void watchInput(QWidget* widget, std::optional<KeyFilter> keys, std::function<void()> click)
{
    widget->installEventFilter(new InputEvents(widget, keys, std::move(click)));
}

void watchPicker(QDateEdit* picker, std::function<void()> click)
{
    // The text part is a child edit that takes its own mouse events.
    auto* text = picker->findChild<QLineEdit*>();
    auto* events = new InputEvents(picker, std::nullopt, std::move(click), text);
    picker->installEventFilter(events);
    if (text)
        text->installEventFilter(events);
}

} // namespace corvane::editor
