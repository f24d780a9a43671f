#pragma once

#include "catalogue/sharedstate.h"

#include <QMainWindow>

namespace corvane {

// The main window: the database tree, the column facts and the five pages.
class TMainF : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainF(db::ConnectionFactory connect, QWidget* parent = nullptr);

    SharedState& state() { return m_state; }
    // Start-up: the list page, then the Login command, then the seed.
    void FormCreate();

private:
    SharedState m_state;
};

} // namespace corvane
