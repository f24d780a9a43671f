#include "ui/main/loginf.h"

namespace corvane {

TLoginF::TLoginF(db::ConnectionFactory connect, QWidget* parent)
    : QDialog(parent), m_connect(std::move(connect))
{
}

void TLoginF::SetResultTarget(QString* target)
{
    m_target = target;
}

void TLoginF::testConnection() {}

void TLoginF::Button1Click()
{
    accept();
}

void TLoginF::Button2Click()
{
    reject();
}

} // namespace corvane
