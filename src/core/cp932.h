#pragma once

#include <QByteArray>
#include <QString>

// Text files are 8-bit text in code page 932 (Shift-JIS as Windows writes it); inside the
// program text is Unicode. Characters that code page 932 cannot hold are written as "?".
// The JIS forms that a Linux clipboard delivers for characters Windows keeps in their CP932
// forms (U+301C wave dash, U+2016, U+2212, U+00A2, U+00A3, U+00AC, U+2014) are written as the
// CP932 characters they stand for, as Windows' own conversion does.
QByteArray toCp932(const QString& text);
// Bytes that are not valid CP932 become U+FFFD.
QString fromCp932(const QByteArray& bytes);
// Whether the text comes back unchanged from code page 932.
bool survivesCp932(const QString& text);
// Number of bytes of the text in code page 932.
qsizetype cp932Length(const QString& text);
