#pragma once

#include <QDialog>

#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane {

// The seed dialog. Neither button is a default or cancel button: Enter and
// Escape leave the dialog open, only "Ok", "Cancel" and the title bar close it.
class TSetSeedF : public QDialog
{
    Q_OBJECT
public:
    explicit TSetSeedF(QWidget* parent = nullptr);

    // Shows `seed` and writes to it on "Ok".
    void Open(std::int32_t& seed);

    void Button1Click();
    void Button2Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Lets backspace, '-' and the digits through; true when the key is eaten.
    bool Edit1KeyPress(const QKeyEvent& event);

    std::int32_t* m_seed = nullptr;
    QGroupBox* m_groupBox1;
    QLabel* m_label1;
    QLineEdit* m_edit1;
    QPushButton* m_button1;
    QPushButton* m_button2;
};

} // namespace corvane
