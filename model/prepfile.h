#pragma once

// Prep files (*.fcd): one administrative unit's setup data, prepared before any fire and kept
// in the costs folder. The reader never writes to a Prep file: older layouts are taken as they
// are, in memory, so that a file on a read-only share or one another program still uses is
// never changed by looking at it. A Prep file of the companion setup program, a Jet database,
// is read through a temporary SQLite copy of it.

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

#include <array>
#include <memory>

namespace core {
class ConvertedCopy;
}
namespace dao {
class Database;
}

namespace model {

// One row of the file list: the file name without its folder, and the unit it belongs to.
struct PrepFileEntry {
    QString FileName;
    QString UnitName;
    bool operator==(const PrepFileEntry&) const = default;
};

// The Prep files of folder, sorted by name. Each is opened read-only and shared, only to read
// its unit name; a file that cannot be read is listed with an empty one and a trace warning.
QList<PrepFileEntry> BuildFCDFileList(const QString& folder);

// A resource management area and its objectives (plain text).
struct PrepArea {
    int Key = 0;
    QString ManagementArea;
    QString Explanation;
};

// A zone; each i = 1..RLCount is one fire management unit that can be imported.
struct PrepZone {
    qint64 Key = 0;
    QString Name;
    int RLCount = 0;
};

// One entry of the suppression resource master list, fields as stored.
struct PrepResource {
    QVariant Sequence, Category, LongName, ShortName, UnitType, Units, Cost;
};

struct PrepCostRow {
    float TopSize = 0;
    float Cost = 0;
};
using PrepNVCRow = std::array<float, 6>;   // FIL1 .. FIL6

// An importable fire management unit: the zone's name, "-" and its number, with its code
// zone key x 100 + number.
struct PrepFMUEntry {
    QString Text;
    qint64 Code = 0;
};

// The code keeps the unit's number in its last two digits, so a zone can offer 99 units at most.
constexpr int kMaxUnitsPerZone = 99;
inline qint64 FMUCode(qint64 zoneKey, int number) { return zoneKey * 100 + number; }
// Splits a code back; rounding down keeps negative zone keys apart.
inline qint64 FMUCodeZone(qint64 code) { return code >= 0 ? code / 100 : -((-code + 99) / 100); }
inline int FMUCodeNumber(qint64 code) { return int(code - FMUCodeZone(code) * 100); }

// An open Prep file. Its content is read whole when it opens (a Prep file holds one unit and
// is small), so a damaged file is refused at once rather than half way through an import. The
// file stays open read-only until Close, which keeps other programs from changing it while
// the user chooses what to import.
class PrepFile {
public:
    // Opens the file, says why in a message box when it cannot, and then returns null.
    static std::unique_ptr<PrepFile> Open(const QString& path);
    ~PrepFile();

    void Close();

    QString Path() const { return mPath; }
    QString FileName() const;
    // The format as stored ("4.01.01", "4.00.00", "3.92.00" or "3.00.00").
    QString FormatID() const { return mFormatID; }

    const QList<PrepArea>& Areas() const { return mAreas; }
    const QList<PrepZone>& Zones() const { return mZones; }
    const QList<PrepResource>& MasterList() const { return mMasterList; }
    QString SRDataSource() const { return mSRDataSource; }
    // The units of every zone in key order; a zone that claims more than 99 lists 99 (and
    // cannot be imported).
    QList<PrepFMUEntry> FMUEntries() const;

    const PrepArea* FindArea(int key) const;
    const PrepZone* FindZone(qint64 key) const;
    // The zone's rows by Sequence (cost) and ResourceNumber (NVC), as the file holds them.
    QMap<int, PrepCostRow> CostRows(qint64 zoneKey) const { return mCostRows.value(zoneKey); }
    QMap<int, PrepNVCRow> NVCRows(qint64 zoneKey) const { return mNVCRows.value(zoneKey); }

private:
    PrepFile() = default;
    void Read();

    QString mPath;
    QString mFormatID;
    std::unique_ptr<core::ConvertedCopy> mCopy;   // what a Jet Prep file is read through
    std::unique_ptr<dao::Database> mDb;
    QList<PrepArea> mAreas;
    QList<PrepZone> mZones;
    QList<PrepResource> mMasterList;
    QString mSRDataSource;
    QHash<qint64, QMap<int, PrepCostRow>> mCostRows;
    QHash<qint64, QMap<int, PrepNVCRow>> mNVCRows;
};

} // namespace model
