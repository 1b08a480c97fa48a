#pragma once

// Jet databases for tests: the frozen files of tests/fixtures/jet (written outside the project,
// see its README), hostile variants of them made here at test time, and a whole database
// described as text through the data file engine, to compare a converted file with its source.

#include "platform/dao/dao.h"
#include "support/fixturefiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace jettest {

constexpr int kJet4Page = 4096;

inline QString FixturePath(const QString& name)
{
    const QString root = qEnvironmentVariable("TOLMAR_SOURCE_DIR", QStringLiteral(TOLMAR_SOURCE_DIR_DEFAULT));
    return QDir(root).filePath(QStringLiteral("tests/fixtures/jet/") + name);
}

inline QByteArray Fixture(const QString& name)
{
    return testsupport::FileBytes(FixturePath(name));
}

// Writes bytes to path, writable, and returns the path.
inline QString Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

inline quint32 Le32(const QByteArray& bytes, qsizetype at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

inline void PutLe32(QByteArray& bytes, qsizetype at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xff);
}

// Text as Jet 4 keeps it uncompressed: two bytes a character, low byte first.
inline QByteArray Ucs2(const QString& text)
{
    QByteArray bytes;
    for (QChar c : text) {
        bytes += char(c.unicode() & 0xff);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

// The page of a Jet 4 file whose rows hold the text; -1 when none does.
inline int PageHolding(const QByteArray& file, const QString& text)
{
    const qsizetype at = file.indexOf(Ucs2(text));
    return at < 0 ? -1 : int(at / kJet4Page);
}

// The definition page of the table that owns a data page.
inline int OwnerOf(const QByteArray& file, int dataPage)
{
    return int(Le32(file, qsizetype(dataPage) * kJet4Page + 4));
}

// The page with every byte set by fill.
template <typename Fill>
QByteArray WithPage(QByteArray file, int page, Fill fill)
{
    for (int i = 0; i < kJet4Page; ++i)
        file[qsizetype(page) * kJet4Page + i] = char(fill(i));
    return file;
}

// The Jet 4 file with the table's page map (the row its definition points to at offset 55)
// moved to a row of no bytes, added after the last row of the map's page.
inline QByteArray WithEmptyPageMap(QByteArray file, int definition)
{
    const qsizetype pointer = qsizetype(definition) * kJet4Page + 55;
    const qsizetype page = qsizetype(Le32(file, pointer) >> 8) * kJet4Page;
    const int rows = quint8(file[page + 12]) | quint8(file[page + 13]) << 8;
    const qsizetype lastStart = page + 14 + 2 * (rows - 1);
    file[page + 12] = char((rows + 1) & 0xff);
    file[page + 13] = char((rows + 1) >> 8);
    file[page + 14 + 2 * rows] = file[lastStart];
    file[page + 15 + 2 * rows] = file[lastStart + 1];
    PutLe32(file, pointer, quint32(page / kJet4Page) << 8 | quint32(rows));
    return file;
}

// A Jet 4 page of long values holding one row: its bytes run from start to the page's end.
inline QByteArray LongValuePage(int owner, const QByteArray& row)
{
    QByteArray page(kJet4Page, '\0');
    page[0] = 0x01;
    page[1] = 0x01;
    page.replace(4, 4, QByteArray("LVAL"));
    PutLe32(page, 8, quint32(owner));
    const int start = kJet4Page - int(row.size());
    page[12] = 1;   // one row
    page[14] = char(start & 0xff);
    page[15] = char(start >> 8);
    page.replace(start, row.size(), row);
    return page;
}

// The Jet 4 file with the memo that holds inlineText (kept in its row) moved to pages of its
// own appended to the file, in the chunks given: one chunk as a memo of one page, several as
// a chain. With loop, the last page of the chain leads back to the first, and the memo claims
// more than the chain holds, so that only going round the loop would find the rest.
inline QByteArray WithLongMemo(QByteArray file, const QString& inlineText, const QList<QByteArray>& chunks, bool loop = false)
{
    const qsizetype value = file.indexOf(Ucs2(inlineText));
    if (value < kJet4Page || chunks.isEmpty())
        return {};
    const qsizetype header = value - 12;
    const int firstPage = int(file.size() / kJet4Page);
    const int owner = OwnerOf(file, int(value / kJet4Page));
    qsizetype length = 0;
    for (const QByteArray& chunk : chunks)
        length += chunk.size();
    if (loop)
        length += kJet4Page;
    const quint32 flags = chunks.size() == 1 ? 0x40 : 0x00;
    PutLe32(file, header, quint32(length) | flags << 24);
    PutLe32(file, header + 4, quint32(firstPage) << 8);
    for (int i = 0; i < chunks.size(); ++i) {
        QByteArray row;
        if (chunks.size() > 1) {
            const bool last = i + 1 == chunks.size();
            row = QByteArray(4, '\0');
            PutLe32(row, 0, last ? (loop ? quint32(firstPage) << 8 : 0) : quint32(firstPage + i + 1) << 8);
        }
        file += LongValuePage(owner, row + chunks[i]);
    }
    return file;
}

// Every table of an open database as text, through the data file engine: its fields with their
// types and sizes, its key and indexes, and its rows (sorted) with each value's type, so that
// a null and an empty text, or a Single and a Double, tell apart.
inline QStringList Describe(dao::Database& db, const QStringList& skipProperties = {})
{
    QStringList out;
    for (const QString& table : db.TableNames()) {
        QStringList indexes = db.IndexNames(table);
        indexes.sort();
        out << QStringLiteral("%1 key(%2) indexes(%3)")
                   .arg(table, db.PrimaryKey(table).join(','), indexes.join(','));
        for (const dao::FieldDef& f : db.Fields(table))
            out << QStringLiteral("  %1.%2 %3 %4").arg(table, f.name).arg(int(f.type)).arg(f.size);
        QStringList rows;
        auto rs = db.OpenTable(table);
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            QStringList values;
            for (int i = 0; i < rs->FieldCount(); ++i) {
                const QVariant v = rs->Field(i);
                values << (v.isNull() ? QStringLiteral("<null>") : QStringLiteral("%1:%2").arg(v.typeName(), v.toString()));
            }
            if (table == QLatin1String("Properties") && skipProperties.contains(values.value(0).section(':', 1)))
                continue;
            rows << QStringLiteral("  ") + values.join('|');
        }
        std::sort(rows.begin(), rows.end());
        out << rows;
    }
    return out;
}

inline QStringList Describe(const QString& path, const QStringList& skipProperties = {})
{
    auto db = dao::Database::Open(path, {.exclusive = false, .readOnly = true});
    return Describe(*db, skipProperties);
}

} // namespace jettest
