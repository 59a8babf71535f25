#pragma once
// The window boundary: core text is cp1252 (file names and messages UTF-8),
// Qt text is UTF-16.
#include <string>

#include <QColor>
#include <QFile>
#include <QString>
#include <QTextDocument>

#include "platform/CodePage.h"
#include "platform/Colour.h"

inline QString toQ(const std::string& cp1252) {
    const std::u16string u = plat::cp1252ToUtf16(cp1252);
    return QString::fromUtf16(u.data(), qsizetype(u.size()));
}

inline std::string fromQ(const QString& s) {
    return plat::utf16ToCp1252(std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size())));
}

// File names keep the system's bytes: a folder named in letters the code page
// lacks, or in its letters as UTF-8, must still be found.
inline QString toQPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
inline std::string fromQPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Message texts are UTF-8: they name files in letters the code page lacks.
inline QString toQMessage(const std::string& utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

// A tool tip that shows a text from a file as it stands: Qt takes a tip that
// looks like markup for rich text, so such a tip is given as escaped text,
// its lines kept whole as in a plain tip.
inline QString plainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text)) return text;
    return QStringLiteral("<p style=\"white-space:pre\">") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

inline QColor toQColor(plat::ColorRef c) { return QColor(plat::redOf(c), plat::greenOf(c), plat::blueOf(c)); }
inline plat::ColorRef fromQColor(const QColor& c) { return plat::rgb(c.red(), c.green(), c.blue()); }
