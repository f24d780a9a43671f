#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace corvane::test {

// A fresh, empty working directory while it lives; the previous one comes back.
class WorkingDirectory
{
public:
    WorkingDirectory() : m_previous(QDir::currentPath())
    {
        m_entered = m_dir.isValid() && QDir::setCurrent(m_dir.path());
    }
    ~WorkingDirectory() { QDir::setCurrent(m_previous); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

    bool entered() const { return m_entered; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

    // Writes virtual_data/<name>.txt as the generator reads word lists.
    bool writeWordList(const QString& name, const QByteArray& bytes) const
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("virtual_data"));
        QFile list(m_dir.filePath(QStringLiteral("virtual_data/") + name + QStringLiteral(".txt")));
        return list.open(QIODevice::WriteOnly) && list.write(bytes) == bytes.size();
    }

private:
    QTemporaryDir m_dir;
    QString m_previous;
    bool m_entered = false;
};

} // namespace corvane::test
