#include "ui/main/mainf.h"

namespace corvane {

TMainF::TMainF(db::ConnectionFactory connect, QWidget* parent) : QMainWindow(parent)
{
    m_state.connect = std::move(connect);
    setWindowTitle(QStringLiteral("Corvane"));
}

void TMainF::FormCreate() {}

} // namespace corvane
