#include "ui/discovery/categoryicon.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace corvane::ui {

using discovery::Category;

QIcon CategoryIcon(Category category)
{
    static QHash<int, QIcon> icons;
    if (category == Category::None)
        return {};
    const auto it = icons.constFind(int(category));
    if (it != icons.cend())
        return *it;
    // Hues spread round the wheel so that neighbouring categories differ.
    const QColor colour = QColor::fromHsv((int(category) * 47) % 360, 160, 200);
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, discovery::CategoryCaption(category).left(1));
    painter.end();
    const QIcon icon(pixmap);
    icons.insert(int(category), icon);
    return icon;
}

QString FindingToolTip(const discovery::Finding& finding)
{
    if (!finding.isPersonal())
        return {};
    return discovery::CategoryCaption(finding.category) +
           QStringLiteral(" (%1%)").arg(qRound(finding.confidence * 100)) + u'\n' +
           finding.evidence.join(u'\n');
}

} // namespace corvane::ui
