#pragma once

#include <QDialog>

#include <cstdint>

namespace corvane {

// The seed dialog.
class TSetSeedF : public QDialog
{
    Q_OBJECT
public:
    explicit TSetSeedF(QWidget* parent = nullptr);

    // Shows `seed` and writes to it on "Ok".
    void Open(std::int32_t& seed);

private:
    std::int32_t* m_seed = nullptr;
};

} // namespace corvane
