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
    InputEvents(QObject* parent, std::optional<KeyFilter> keys, std::function<void()> click)
        : QObject(parent), m_keys(keys), m_click(std::move(click))
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
            if (mouse->button() == Qt::LeftButton)
                m_click();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::optional<KeyFilter> m_keys;
    std::function<void()> m_click;
};

} // namespace

void watchInput(QWidget* widget, std::optional<KeyFilter> keys, std::function<void()> click)
{
    widget->installEventFilter(new InputEvents(widget, keys, std::move(click)));
}

void watchPicker(QDateEdit* picker, std::function<void()> click)
{
    auto* events = new InputEvents(picker, std::nullopt, std::move(click));
    picker->installEventFilter(events);
    // The text part is a child edit that takes its own mouse events.
    if (auto* text = picker->findChild<QLineEdit*>())
        text->installEventFilter(events);
}

} // namespace corvane::editor
