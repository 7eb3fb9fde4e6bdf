#pragma once

// CoolUtils: the routines shared by the skinned controls - option rules,
// colour names, string, rectangle and folder helpers, and (in the second
// half) the painting routines: wallpaper, ancestor background, shadowed
// text, borders and gradients. All of them are stateless and, except the
// string and folder helpers, belong to the GUI thread.

#include "CoolTypes.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace coolctrls {

// --- Colour names -------------------------------------------------------

// The 16 basic colour names, "clBlack" .. "clWhite", in the toolkit's order.
const QStringList &BasicColorNames();
// All 42 colour names: the 16 basic ones, the system colours, "clNone".
const QStringList &AllColorNames();
// A colour name when the value has one, else "$" and 8 hexadecimal digits.
QString ColorToString(uint32_t color);
// A colour name (any case) or a number (decimal, "$hex" or "0xhex").
// Throws platform::EConvertError for anything else.
uint32_t StringToColor(const QString &text);
// The same without throwing.
bool TryStringToColor(const QString &text, uint32_t &color);

// --- Strings and rectangles ---------------------------------------------

QString ReverseString(const QString &text);
// 1-based position of the reversed needle in the reversed text (so counted
// from the end of the text); 0 when absent or when the needle is empty.
int LastPos(const QString &needle, const QString &text);
// The path up to and including its last '/', after dropping one trailing
// '/'; the whole path when it has no '/'. "/data/sub/" -> "/data/".
QString ExtractParentFolder(const QString &path);
// Adds each delta to its side of r.
void AdjustRectSides(QRect &r, int dLeft, int dTop, int dRight, int dBottom);

// --- Folders --------------------------------------------------------------

// The attribute bits (fa*) this system gives a directory entry: faDirectory
// for a directory, faArchive for a regular file, faSysFile for anything else
// (devices, sockets, pipes), faHidden for a name starting with '.', and
// faReadOnly when the entry cannot be written by this process.
uint32_t FileAttributes(const QString &path);

// Entry names of `folder` matching the wildcard `mask` (case-insensitive;
// "*.*" matches every name) whose attribute bits all lie within
// `attributes`: directories first, then files, each block in ascending
// case-insensitive order. "." and ".." are never listed. A folder that
// cannot be read gives an empty list.
QStringList GetFolderList(const QString &folder, const QString &mask, uint32_t attributes);

} // namespace coolctrls
