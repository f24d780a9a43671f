#pragma once

#include "discovery/category.h"

#include <QString>
#include <QStringList>

namespace corvane::discovery {

// What discovery found out about one column slot.
struct Finding
{
    int slot = -1;
    Category category = Category::None;
    Detail detail = Detail::Any;
    double confidence = 0.0; // 0..1
    QStringList evidence;    // short phrases, strongest first
    QString label;           // the server's own sensitivity label, if any

    bool isPersonal() const { return category != Category::None; }
    QString evidenceText() const { return evidence.join(QStringLiteral("; ")); }
};

} // namespace corvane::discovery
