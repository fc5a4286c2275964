// GBK (code page 936) text: conversion, byte counts and the per-character codes that order text.
#pragma once

#include <QByteArray>
#include <QString>

namespace lb {

// The program's stored and printed text is GBK in its design: sizes, sort order and pinyin
// initials follow GBK codes. Tables are built once (thread-safe) from the system's converter.
class Gbk {
public:
    // Characters without a GBK code become '?'.
    static QByteArray toGbk(const QString& text);
    // Invalid byte sequences become U+FFFD.
    static QString fromGbk(const QByteArray& bytes);
    // The GBK code of a character: 0..0x7F for ASCII, 0x8140..0xFEFE for a two-byte code,
    // -1 when the character has none.
    static int code(char32_t ch);
    // Orders two UTF-8 texts as their GBK bytes order; characters without a code sort after
    // every character that has one, among themselves by code point. Negative, zero, positive.
    // With LatinCase::Ignore the letters A to Z order as a to z, so "A1" and "a1" are equal:
    // the order of the lists' names and codes (the database's "GBK" collation).
    enum class LatinCase { Respect, Ignore };
    static int compareUtf8(const char* a, int aLength, const char* b, int bLength,
                           LatinCase latinCase = LatinCase::Respect);
    static int compare(const QString& a, const QString& b, LatinCase latinCase = LatinCase::Respect);
};

} // namespace lb
