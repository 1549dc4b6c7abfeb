#pragma once
// The boundary between the model's strings and colours and Qt's: the model
// keeps Windows-1252 bytes and blue-green-red colour integers.
#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

QString FromAnsi(std::string_view text);
// Characters outside Windows-1252 become "?".
std::string ToAnsi(const QString& text);
// For display: "\r\n" line breaks as Qt's "\n".
QString FromAnsiLines(std::string_view text);

QColor ColorFromRef(uint32_t color);
uint32_t ColorToRef(const QColor& color);

// The program's face: Verdana where installed, else DejaVu Sans.
QString ProgramFontFamily();
QFont ProgramFont(int pointSize, bool bold = false);
