#include "project/setseedf.h"

#include "catalogue/textconv.h"
#include "ui/common/dialogs.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

TSetSeedF::TSetSeedF(QWidget* parent)
    : QDialog(parent), m_groupBox1(new QGroupBox(QStringLiteral("Seed"), this)),
      m_label1(new QLabel(QStringLiteral("Set random seed to "), m_groupBox1)),
      m_edit1(new QLineEdit(m_groupBox1)),
      m_button1(new QPushButton(QStringLiteral("Ok"), m_groupBox1)),
      m_button2(new QPushButton(QStringLiteral("Cancel"), m_groupBox1))
{
    setObjectName(QStringLiteral("SetSeedF"));
    setWindowTitle(QStringLiteral("SetSeedF"));

    m_groupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_groupBox1);

    m_label1->setObjectName(QStringLiteral("Label1"));
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button2->setObjectName(QStringLiteral("Button2"));
    // Laid out rather than placed, so that no caption is cut at any scaling.
    auto* seedRow = new QHBoxLayout;
    seedRow->addWidget(m_label1);
    seedRow->addWidget(m_edit1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_button1);
    buttons->addWidget(m_button2);
    auto* inner = new QVBoxLayout(m_groupBox1);
    inner->addStretch(1);
    inner->addLayout(seedRow);
    inner->addStretch(1);
    inner->addLayout(buttons);
    resize(sizeHint().expandedTo(QSize(352, 216)));
    // A QDialog makes its buttons default on focus; Enter must not press them.
    for (QPushButton* button : {m_button1, m_button2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    m_edit1->installEventFilter(this);
    connect(m_button1, &QPushButton::clicked, this, &TSetSeedF::Button1Click);
    connect(m_button2, &QPushButton::clicked, this, &TSetSeedF::Button2Click);
}

void TSetSeedF::Open(std::int32_t& seed)
{
    m_seed = &seed;
    m_edit1->setText(QString::number(seed));
}

void TSetSeedF::Button1Click()
{
    const Result<std::int32_t> seed = StrToInt(m_edit1->text());
    if (!seed) {
        ui::showError(this, seed.error());
        return;
    }
    if (m_seed)
        *m_seed = *seed;
    accept();
}

void TSetSeedF::Button2Click()
{
    reject();
}

bool TSetSeedF::Edit1KeyPress(const QKeyEvent& event)
{
    // Keys without text (arrows, Home, Delete, ...) edit or move as usual, and
    // Tab keeps moving the focus; only characters are filtered.
    switch (event.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    if (text.size() == 1) {
        const QChar c = text.at(0);
        if (c == u'\b' || c == u'-' || (c >= u'0' && c <= u'9'))
            return false;
    }
    return true;
}

bool TSetSeedF::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit1 && event->type() == QEvent::KeyPress)
        return Edit1KeyPress(*static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

void TSetSeedF::keyPressEvent(QKeyEvent* event)
{
    // QDialog would accept on Enter and reject on Escape.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Enter:
    case Qt::Key_Return:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

} // namespace corvane
