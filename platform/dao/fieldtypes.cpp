// Jet field types, their declared SQLite types, and how values cross into and out of SQLite.

#include "platform/dao/engine.h"

#include <QDateTime>

#include <cmath>
#include <limits>
#include <optional>

namespace dao {

Error::Error(Kind kind, const QString& message)
    : std::runtime_error(message.toStdString()), mKind(kind)
{
}

namespace {

bool isIntegral(FieldType t)
{
    return t == FieldType::Boolean || t == FieldType::Byte || t == FieldType::Integer || t == FieldType::Long
        || t == FieldType::AutoNumber;
}

bool isNumeric(FieldType t)
{
    return isIntegral(t) || t == FieldType::Currency || t == FieldType::Single || t == FieldType::Double;
}

double roundCurrency(double v)
{
    return std::round(v * 10000.0) / 10000.0;
}

// A Currency is a 64-bit count of 1/10,000 dollars.
constexpr double kCurrencyLimit = 922337203685477.5807;

// The number as a field of the type holds it, or nothing when the type cannot hold it: written,
// such a number is refused; read from a file something else wrote, it reads as Null. Converting
// an out-of-range double to an integer or a float is undefined, so every such conversion is
// checked here first.
std::optional<double> fitted(double number, FieldType type)
{
    if (!std::isfinite(number))
        return std::nullopt;
    switch (type) {
    case FieldType::Boolean:
        return number != 0 ? 1.0 : 0.0;
    case FieldType::Currency:
        if (std::fabs(number) > kCurrencyLimit)
            return std::nullopt;
        return roundCurrency(number);
    case FieldType::Single:
        if (std::fabs(number) > double(std::numeric_limits<float>::max()))
            return std::nullopt;
        return double(float(number));
    case FieldType::Double:
        return number;
    default: {
        // Whole-number fields round half to even, as the program's arithmetic does elsewhere.
        const double r = std::nearbyint(number);
        double lo = -2147483648.0, hi = 2147483647.0;
        if (type == FieldType::Byte) { lo = 0; hi = 255; }
        if (type == FieldType::Integer) { lo = -32768; hi = 32767; }
        if (r < lo || r > hi)
            return std::nullopt;
        return r;
    }
    }
}

} // namespace

namespace detail {

QString quoted(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString sqlIndexName(const QString& table, const QString& index)
{
    return table + QLatin1String("__") + index;
}

QString jetIndexName(const QString& sqlName)
{
    const int at = sqlName.indexOf(QLatin1String("__"));
    return at < 0 ? sqlName : sqlName.mid(at + 2);
}

Error::Kind kindOf(int rc)
{
    switch (rc & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return Error::Kind::NotDatabase;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Error::Kind::Locked;
    case SQLITE_READONLY:
        return Error::Kind::ReadOnly;
    case SQLITE_CONSTRAINT:
        return Error::Kind::Constraint;
    case SQLITE_CANTOPEN:
        return Error::Kind::NotFound;
    case SQLITE_FULL:
        return Error::Kind::DiskFull;
    default:
        return Error::Kind::Generic;
    }
}

[[noreturn]] void fail(sqlite3* db, int rc, const QString& context)
{
    const QString detail = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    Error::Kind kind = kindOf(rc);
    if (kind == Error::Kind::Generic && detail.startsWith(QLatin1String("no such table")))
        kind = Error::Kind::NoSuchTable;
    throw Error(kind, context + QLatin1String(": ") + detail);
}

int textSize(const QString& declared)
{
    if (TypeFromDeclared(declared) != FieldType::Text)
        return 0;
    const qsizetype open = declared.indexOf(QLatin1Char('('));
    const qsizetype close = declared.indexOf(QLatin1Char(')'), open + 1);
    if (open < 0 || close < 0)
        return 0;
    bool ok = false;
    const int size = QStringView(declared).mid(open + 1, close - open - 1).trimmed().toInt(&ok);
    return ok && size > 0 ? size : 0;
}

QVariant toStorage(const QVariant& value, FieldType type, const QString& field)
{
    if (value.isNull() || !value.isValid())
        return {};
    if (!isNumeric(type)) {
        if (type == FieldType::Date && value.metaType().id() == QMetaType::QDateTime)
            return value.toDateTime().toString(Qt::ISODate);
        if (value.metaType().id() == QMetaType::Bool)
            return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        QString text = value.toString();
        // A character takes at most three bytes (a pair of surrogates four), so only a long text
        // is measured.
        if (text.size() * 3 > kLongestValue) {
            const qsizetype bytes = text.toUtf8().size();
            if (bytes > kLongestValue)
                throw Error(Error::Kind::Generic,
                            QStringLiteral("The text for the field %1 is %L2 bytes long; a field holds at most %L3 "
                                               "bytes. It has not been stored: shorten it.")
                                .arg(field)
                                .arg(bytes)
                                .arg(kLongestValue));
        }
        return text;
    }
    double number = 0;
    const int id = value.metaType().id();
    if (id == QMetaType::Bool) {
        number = value.toBool() ? 1 : 0;
    } else if (id == QMetaType::QString || id == QMetaType::QByteArray) {
        const QString text = value.toString().trimmed();
        bool ok = false;
        number = text.toDouble(&ok);
        if (!ok && type == FieldType::Boolean) {
            if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0
                || text.compare(QLatin1String("Yes"), Qt::CaseInsensitive) == 0) {
                number = 1;
                ok = true;
            } else if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0
                       || text.compare(QLatin1String("No"), Qt::CaseInsensitive) == 0) {
                number = 0;
                ok = true;
            }
        }
        if (!ok)
            throw Error(Error::Kind::Generic,
                        QStringLiteral("Data type conversion error: \"%1\" is not a number (field %2)").arg(text, field));
    } else {
        bool ok = false;
        number = value.toDouble(&ok);
        if (!ok)
            throw Error(Error::Kind::Generic, QStringLiteral("Data type conversion error (field %1)").arg(field));
    }
    const std::optional<double> held = fitted(number, type);
    if (!held)
        throw Error(Error::Kind::Generic, QStringLiteral("Numeric field overflow (field %1)").arg(field));
    switch (type) {
    case FieldType::Currency:
    case FieldType::Single:
    case FieldType::Double:
        return QVariant(*held);
    default:
        return QVariant(qint64(*held));
    }
}

void bind(sqlite3_stmt* st, int i, const QVariant& v)
{
    if (v.isNull() || !v.isValid()) {
        sqlite3_bind_null(st, i);
        return;
    }
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        sqlite3_bind_int64(st, i, v.toBool() ? 1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
        sqlite3_bind_int64(st, i, v.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(st, i, v.toDouble());
        break;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray u = v.toString().toUtf8();
        sqlite3_bind_text(st, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

namespace {

QString storedText(sqlite3_stmt* st, int col, int size)
{
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col)), sqlite3_column_bytes(st, col));
    if (size > 0 && text.size() > size) {
        // Never half a pair of surrogates at the end.
        text.truncate(text.at(size - 1).isHighSurrogate() ? size - 1 : size);
    }
    return text;
}

} // namespace

QVariant fromStorage(sqlite3_stmt* st, int col, FieldType type, bool typed, int size)
{
    const int storage = sqlite3_column_type(st, col);
    if (storage == SQLITE_NULL)
        return {};
    if (!typed) {
        switch (storage) {
        case SQLITE_INTEGER: {
            const qint64 v = sqlite3_column_int64(st, col);
            if (v >= INT32_MIN && v <= INT32_MAX)
                return QVariant(int(v));
            return QVariant(v);
        }
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(st, col));
        case SQLITE_BLOB:
            return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(st, col)), sqlite3_column_bytes(st, col)));
        default:
            return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col)),
                                              sqlite3_column_bytes(st, col)));
        }
    }
    if (!isNumeric(type))
        return QVariant(storedText(st, col, size));
    double number = 0;
    if (storage == SQLITE_INTEGER) {
        number = double(sqlite3_column_int64(st, col));
    } else if (storage == SQLITE_FLOAT) {
        number = sqlite3_column_double(st, col);
    } else {
        // Text in a numeric column: only a file written by something else puts it there.
        bool ok = false;
        number = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col))).trimmed().toDouble(&ok);
        if (!ok)
            return {};
    }
    const std::optional<double> held = fitted(number, type);
    if (!held)
        return {};
    switch (type) {
    case FieldType::Boolean:
        return QVariant(*held != 0);
    case FieldType::Currency:
    case FieldType::Double:
        return QVariant(*held);
    case FieldType::Single:
        return QVariant(float(*held));
    default:
        return QVariant(int(*held));
    }
}

QVariant normalized(const QVariant& value, FieldType type, const QString& field)
{
    const QVariant stored = toStorage(value, type, field);
    if (stored.isNull())
        return {};
    switch (type) {
    case FieldType::Boolean: return QVariant(stored.toLongLong() != 0);
    case FieldType::Currency:
    case FieldType::Double: return QVariant(stored.toDouble());
    case FieldType::Single: return QVariant(float(stored.toDouble()));
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long:
    case FieldType::AutoNumber: return QVariant(int(stored.toLongLong()));
    default: return stored;
    }
}

} // namespace detail

QString DeclaredType(FieldType type, int size)
{
    switch (type) {
    case FieldType::Boolean: return QStringLiteral("YESNO INTEGER");
    case FieldType::Byte: return QStringLiteral("BYTE INTEGER");
    case FieldType::Integer: return QStringLiteral("SHORT INTEGER");
    case FieldType::Long: return QStringLiteral("LONG INTEGER");
    case FieldType::AutoNumber: return QStringLiteral("INTEGER");
    case FieldType::Currency: return QStringLiteral("CURRENCY INTEGER");
    case FieldType::Single: return QStringLiteral("SINGLE REAL");
    case FieldType::Double: return QStringLiteral("DOUBLE REAL");
    case FieldType::Date: return QStringLiteral("DATE TEXT");
    case FieldType::Text: return size > 0 ? QStringLiteral("TEXT(%1)").arg(size) : QStringLiteral("TEXT(255)");
    case FieldType::Memo: return QStringLiteral("MEMO TEXT");
    }
    return QStringLiteral("MEMO TEXT");
}

FieldType TypeFromDeclared(const QString& declared)
{
    const QString d = declared.trimmed().toUpper();
    if (d == QLatin1String("INTEGER")) return FieldType::AutoNumber;
    if (d.startsWith(QLatin1String("YESNO"))) return FieldType::Boolean;
    if (d.startsWith(QLatin1String("BYTE"))) return FieldType::Byte;
    if (d.startsWith(QLatin1String("SHORT"))) return FieldType::Integer;
    if (d.startsWith(QLatin1String("LONG"))) return FieldType::Long;
    if (d.startsWith(QLatin1String("CURRENCY"))) return FieldType::Currency;
    if (d.startsWith(QLatin1String("SINGLE"))) return FieldType::Single;
    if (d.startsWith(QLatin1String("DOUBLE"))) return FieldType::Double;
    if (d.startsWith(QLatin1String("DATE"))) return FieldType::Date;
    if (d.startsWith(QLatin1String("MEMO"))) return FieldType::Memo;
    if (d.startsWith(QLatin1String("TEXT"))) return FieldType::Text;
    // Declared types of other writers, by SQLite's own affinity rules.
    if (d.contains(QLatin1String("INT"))) return FieldType::Long;
    if (d.contains(QLatin1String("REAL")) || d.contains(QLatin1String("FLOA")) || d.contains(QLatin1String("DOUB")))
        return FieldType::Double;
    return FieldType::Memo;
}

} // namespace dao
