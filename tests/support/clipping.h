#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace corvane::test {

// Makes the application's font `factor` times as large while it lives: what
// a high-dpi screen does to text against geometry given in pixels.
class LargerFont
{
public:
    explicit LargerFont(qreal factor) : m_old(QApplication::font())
    {
        QFont font = m_old;
        font.setPointSizeF(m_old.pointSizeF() * factor);
        QApplication::setFont(font);
    }
    ~LargerFont() { QApplication::setFont(m_old); }

private:
    QFont m_old;
};

// The data of a test run at 100 % and at 200 %: a column "scale".
inline void addFontScales()
{
    QTest::addColumn<qreal>("scale");
    QTest::newRow("100 %") << 1.0;
    QTest::newRow("200 %") << 2.0;
}

// The captions under `root` that are shown narrower or lower than their text
// needs; laid-out widgets report none.
inline QStringList clippedCaptions(const QWidget* root)
{
    QStringList clipped;
    const auto check = [&](const QWidget* widget, const QString& text) {
        if (!widget->isVisibleTo(root) || text.isEmpty())
            return;
        const QSize need = widget->minimumSizeHint();
        if (widget->width() < need.width() || widget->height() < need.height())
            clipped << QStringLiteral("%1 \"%2\" %3x%4 < %5x%6")
                           .arg(widget->objectName(), text)
                           .arg(widget->width())
                           .arg(widget->height())
                           .arg(need.width())
                           .arg(need.height());
    };
    for (const QLabel* label : root->findChildren<QLabel*>())
        if (!label->wordWrap() && label->pixmap().isNull())
            check(label, label->text());
    for (const QAbstractButton* button : root->findChildren<QAbstractButton*>())
        check(button, button->text());
    return clipped;
}

} // namespace corvane::test
