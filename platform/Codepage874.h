#pragma once

#include <QByteArray>
#include <QString>

// Windows-874, the single-byte Thai code page: the system's ANSI and OEM code page alike.
namespace platform::cp874 {

// Characters the code page cannot hold become '?' and clear *ok.
QByteArray encode(const QString& text, bool* ok = nullptr);
QString decode(const QByteArray& bytes);

} // namespace platform::cp874
