// The database: opening, statements, schema reads and transactions.

#include "platform/dao/engine.h"

#include <QFile>
#include <QFileInfo>
#include <QThreadPool>

namespace dao {

using namespace detail;

sqlite3_stmt* Database::Impl::prepare(const QString& sql)
{
    settle();
    if (!db)
        throw Error(Error::Kind::Generic, QStringLiteral("The database is closed"));
    auto it = statements.find(sql);
    if (it != statements.end()) {
        sqlite3_reset(*it);
        sqlite3_clear_bindings(*it);
        return *it;
    }
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &st, &tail);
    if (rc != SQLITE_OK)
        fail(db, rc, sql);
    if (!onlyOneStatement(tail, text.constData() + text.size())) {
        sqlite3_finalize(st);
        throw Error(Error::Kind::Generic, QStringLiteral("Only one statement may be run at a time: %1").arg(sql));
    }
    statements.insert(sql, st);
    return st;
}

bool Database::Impl::onlyOneStatement(const char* tail, const char* end)
{
    while (tail && tail < end) {
        sqlite3_stmt* next = nullptr;
        const char* after = nullptr;
        const int rc = sqlite3_prepare_v2(db, tail, int(end - tail), &next, &after);
        sqlite3_finalize(next);
        if (rc != SQLITE_OK || next)
            return false;
        if (after == tail)
            break;
        tail = after;
    }
    return true;
}

int Database::Impl::schemaCookie()
{
    sqlite3_stmt* st = prepare(QStringLiteral("PRAGMA schema_version"));
    const int cookie = step(st, QStringLiteral("schema_version")) == SQLITE_ROW ? sqlite3_column_int(st, 0) : 0;
    sqlite3_reset(st);
    return cookie;
}

void Database::Impl::finalizeAll()
{
    for (sqlite3_stmt* st : std::as_const(statements))
        sqlite3_finalize(st);
    statements.clear();
    queries.clear();
}

void Database::Impl::schemaChanged()
{
    ++generation;
    columns.clear();
    metas.clear();
    // Cached statements re-prepare themselves, but one that names a dropped table must go.
    finalizeAll();
}

int Database::Impl::step(sqlite3_stmt* st, const QString& context)
{
    settle();
    int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        sqlite3_reset(st);
        if ((rc & 0xff) == SQLITE_TOOBIG && valuesUnchecked) {
            // A value too long to read before the check of the values came to it: the file is
            // refused for it as the check would refuse it. Without one, what failed was a row
            // written whole (its values together longer than one may be), which the engine
            // takes once the check is done: a write has nothing to lose by running again.
            valuesChecked(detail::oversizedValue(db));
            if (!overlong.isEmpty())
                throw Error(Error::Kind::Foreign, overlong);
            if (!sqlite3_stmt_readonly(st)) {
                rc = sqlite3_step(st);
                if (rc == SQLITE_ROW || rc == SQLITE_DONE)
                    return rc;
                sqlite3_reset(st);
            }
        }
        fail(db, rc, context);
    }
    return rc;
}

void Database::Impl::valuesChecked(const QString& found)
{
    overlong = found;
    if (found.isEmpty() && valuesUnchecked) {
        valuesUnchecked = false;
        sqlite3_limit(db, SQLITE_LIMIT_LENGTH, lengthLimit);
    }
}

int Database::Impl::run(const QString& sql, const QVariantList& params)
{
    sqlite3_stmt* st = prepare(sql);
    bindAll(st, params, sql);
    while (step(st, sql) == SQLITE_ROW) {
    }
    sqlite3_reset(st);
    return sqlite3_changes(db);
}

void Database::Impl::bindAll(sqlite3_stmt* st, const QVariantList& params, const QString& sql)
{
    const int expected = sqlite3_bind_parameter_count(st);
    if (expected != params.size())
        throw Error(Error::Kind::Generic,
                    QStringLiteral("%1 values given for %2 parameters: %3").arg(params.size()).arg(expected).arg(sql));
    for (int i = 0; i < params.size(); ++i)
        bind(st, i + 1, params[i]);
}

void Database::Impl::execRaw(const char* sql)
{
    settle();
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString msg = err ? QString::fromUtf8(err) : QString();
        sqlite3_free(err);
        Error::Kind kind = kindOf(rc);
        throw Error(kind, QString::fromUtf8(sql) + QLatin1String(": ") + msg);
    }
}

const std::vector<Column>& Database::Impl::tableColumns(const QString& table)
{
    const QString key = table.toLower();
    auto it = columns.find(key);
    if (it != columns.end())
        return *it;
    std::vector<Column> cols;
    sqlite3_stmt* st = prepare(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)));
    while (step(st, table) == SQLITE_ROW) {
        Column c;
        c.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        c.declared = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2)));
        c.type = TypeFromDeclared(c.declared);
        c.size = textSize(c.declared);
        if (sqlite3_column_type(st, 4) != SQLITE_NULL)
            c.defaultValue = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 4)));
        c.pk = sqlite3_column_int(st, 5);
        if (c.type == FieldType::AutoNumber && c.pk == 0)
            c.type = FieldType::Long;
        cols.push_back(c);
    }
    sqlite3_reset(st);
    if (cols.empty())
        throw Error(Error::Kind::NoSuchTable, QStringLiteral("The table '%1' does not exist").arg(table));
    return *columns.insert(key, cols);
}

QString Database::Impl::realTableName(const QString& table)
{
    sqlite3_stmt* st = prepare(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE"));
    bind(st, 1, table);
    QString name;
    if (step(st, table) == SQLITE_ROW)
        name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_reset(st);
    return name;
}

QStringList Database::Impl::primaryKey(const QString& table)
{
    const auto& cols = tableColumns(table);
    QList<QPair<int, QString>> keyed;
    for (const auto& c : cols)
        if (c.pk > 0)
            keyed.append({c.pk, c.name});
    std::sort(keyed.begin(), keyed.end());
    QStringList out;
    for (const auto& k : keyed)
        out << k.second;
    return out;
}

const Database::Impl::TableMeta* Database::Impl::tableMeta(const QString& table)
{
    auto it = metas.find(table);
    if (it != metas.end())
        return &*it;
    TableMeta m;
    m.name = realTableName(table);
    if (m.name.isEmpty())
        throw Error(Error::Kind::NoSuchTable, QStringLiteral("The table '%1' does not exist").arg(table));
    m.columns = tableColumns(m.name);
    m.primaryKey = primaryKey(m.name);
    for (int i = 0; i < int(m.columns.size()); ++i)
        if (!m.lookup.contains(m.columns[i].name.toLower()))
            m.lookup.insert(m.columns[i].name.toLower(), i);
    m.orderBy = orderByFor(m.primaryKey);
    m.selectRow = QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(quoted(m.name));
    for (int n = 1; n <= m.primaryKey.size(); ++n)
        m.seekByKey << seekSql(m.name, m.columns, m.lookup, m.primaryKey.mid(0, n), m.orderBy);
    return &*metas.insert(table, m);
}

QString Database::Impl::orderByFor(const QStringList& index)
{
    QStringList parts;
    for (const auto& c : index)
        parts << quoted(c);
    parts << QStringLiteral("rowid");
    return parts.join(QLatin1String(", "));
}

QString Database::Impl::seekSql(const QString& table, const std::vector<Column>& columns, const QHash<QString, int>& lookup,
                       const QStringList& keyFields, const QString& orderBy)
{
    QStringList where;
    for (const auto& f : keyFields) {
        const Column& c = columns[lookup.value(f.toLower())];
        const bool text = c.type == FieldType::Text || c.type == FieldType::Memo;
        where << quoted(c.name) + (text ? QLatin1String(" = ? COLLATE NOCASE") : QLatin1String(" = ?"));
    }
    // The row comes with its id, so reading a field after a seek needs no second query.
    return QStringLiteral("SELECT rowid, * FROM %1 WHERE %2 ORDER BY %3 LIMIT 1")
        .arg(quoted(table), where.join(QLatin1String(" AND ")), orderBy);
}

QString Database::Impl::sqlIndex(const QString& table, const QString& index)
{
    sqlite3_stmt* st = prepare(QStringLiteral("PRAGMA index_list(%1)").arg(quoted(table)));
    QString found;
    while (step(st, table) == SQLITE_ROW) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        if (jetIndexName(name).compare(index, Qt::CaseInsensitive) == 0 && !name.startsWith(QLatin1String("sqlite_")))
            found = name;
    }
    sqlite3_reset(st);
    if (found.isEmpty())
        throw Error(Error::Kind::Generic, QStringLiteral("'%1' is not an index in table '%2'").arg(index, table));
    return found;
}

QStringList Database::Impl::indexColumns(const QString& table, const QString& index)
{
    if (index.compare(QLatin1String("PrimaryKey"), Qt::CaseInsensitive) == 0)
        return primaryKey(table);
    const QString found = sqlIndex(table, index);
    QStringList out;
    sqlite3_stmt* st = prepare(QStringLiteral("PRAGMA index_info(%1)").arg(quoted(found)));
    while (step(st, found) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2)));
    sqlite3_reset(st);
    return out;
}

// ---------------------------------------------------------------------------------------------
// Database

void Database::Close()
{
    d->settle();
    if (!d->db)
        return;
    d->detachRecordsets();
    d->finalizeAll();
    // An open transaction is abandoned, as closing without committing always was.
    sqlite3_close_v2(d->db);
    d->db = nullptr;
    d->depth = 0;
}

Database::Database() : d(std::make_unique<Impl>()) {}

Database::~Database()
{
    try {
        Close();
    } catch (...) {
    }
}

namespace {

quint32 BigEndian32(const QByteArray& bytes, int at)
{
    return (quint32(quint8(bytes[at])) << 24) | (quint32(quint8(bytes[at + 1])) << 16) |
           (quint32(quint8(bytes[at + 2])) << 8) | quint32(quint8(bytes[at + 3]));
}

// What the file's header and schema say about it, worked out without reading its pages.
enum class Shape {
    Sound,       // the header vouches for the length, and the length and the schema agree with it
    Unvouched,   // the header does not keep a page count (another writer's): only reading every page tells
    Damaged
};

struct ShapeCheck {
    Shape shape = Shape::Sound;
    QString reason;
};

// The last writer records the page count in the header, with the change counter it was valid
// for; a file cut short is damaged, and one that runs on past it gets the whole check. The free
// list and every table and index must start on a page the file has, each on its own. Damage
// inside the pages is for the whole check; until it has run, the engine checks each page it
// reads and reports damage as an error, and a pass over a table always ends even where an index
// disagrees with its table (recordset.cpp).
ShapeCheck CheckShape(sqlite3* db)
{
    // Read through the engine's own handle on the file: opening and closing another one would
    // drop the locks the engine holds on it.
    sqlite3_file* file = nullptr;
    QByteArray header(100, '\0');
    sqlite3_int64 size = 0;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods ||
        file->pMethods->xFileSize(file, &size) != SQLITE_OK || size < 100 ||
        file->pMethods->xRead(file, header.data(), 100, 0) != SQLITE_OK)
        return {Shape::Damaged, QStringLiteral("the header cannot be read")};
    const quint32 pageSize = quint32(quint8(header[16])) << 8 | quint8(header[17]);
    const qint64 bytesPerPage = pageSize == 1 ? 65536 : pageSize;
    if (bytesPerPage < 512 || (bytesPerPage & (bytesPerPage - 1)) != 0)
        return {Shape::Damaged, QStringLiteral("the page size is not one the engine writes")};
    const quint32 changeCounter = BigEndian32(header, 24);
    const quint32 pages = BigEndian32(header, 28);
    if (pages == 0 || BigEndian32(header, 92) != changeCounter)
        return {Shape::Unvouched, {}};
    const qint64 length = qint64(pages) * bytesPerPage;
    if (size < length)
        return {Shape::Damaged, QStringLiteral("the file is %1 bytes long where its header says %2").arg(size).arg(length)};
    // Bytes past the last page are no part of the database, but whatever left them is unknown.
    if (size > length)
        return {Shape::Unvouched, {}};
    if (BigEndian32(header, 32) > pages || BigEndian32(header, 36) >= pages)
        return {Shape::Damaged, QStringLiteral("the list of free pages is out of step with the file")};

    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name, rootpage FROM sqlite_master WHERE type IN ('table', 'index')", -1, &st,
                           nullptr) != SQLITE_OK) {
        sqlite3_finalize(st);
        return {Shape::Damaged, QString::fromUtf8(sqlite3_errmsg(db))};
    }
    std::set<qint64> roots;
    ShapeCheck result;
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        const qint64 root = sqlite3_column_int64(st, 1);
        // A view-like entry without pages has root 0; none may start on page 1 (the schema's own).
        if (root == 0 && sqlite3_column_type(st, 1) == SQLITE_INTEGER)
            continue;
        if (root < 2 || root > qint64(pages) || !roots.insert(root).second) {
            result = {Shape::Damaged, QStringLiteral("'%1' starts on page %2, which is not its own")
                                          .arg(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))))
                                          .arg(root)};
            break;
        }
    }
    if (result.shape == Shape::Sound && rc != SQLITE_DONE)
        result = {Shape::Damaged, QString::fromUtf8(sqlite3_errmsg(db))};
    sqlite3_finalize(st);
    return result;
}

} // namespace

std::unique_ptr<Database> Database::Open(const QString& path, OpenOptions options)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || !info.isFile())
        throw Error(Error::Kind::NotFound, QStringLiteral("The file '%1' does not exist").arg(path));
    {
        // SQLite takes an empty file for an empty database and would write a header into it;
        // only a file that already is a database is opened.
        QFile probe(path);
        const QByteArray head = probe.open(QIODevice::ReadOnly) ? probe.read(20) : QByteArray();
        if (head.size() < 20 || !head.startsWith(QByteArray("SQLite format 3\0", 16)))
            throw Error(Error::Kind::NotDatabase, QStringLiteral("The file '%1' is not a database").arg(path));
        // A write-ahead-log database was written by another program: opening it would rewrite
        // its header, and a refused file must be left exactly as it was.
        if (head.at(18) != 1 || head.at(19) != 1)
            throw Error(Error::Kind::NotDatabase, QStringLiteral("The file '%1' is not a data file of this program").arg(path));
    }
    if (!options.readOnly && !info.isWritable())
        throw Error(Error::Kind::ReadOnly, QStringLiteral("The file '%1' is read-only").arg(path));

    std::unique_ptr<Database> db(new Database);
    Impl& d = *db->d;
    d.path = path;
    d.readOnly = options.readOnly;
    const int flags = (options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &d.db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = d.db ? QString::fromUtf8(sqlite3_errmsg(d.db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(d.db);
        d.db = nullptr;
        throw Error(kindOf(rc) == Error::Kind::NotFound ? Error::Kind::NotDatabase : kindOf(rc),
                    QStringLiteral("Cannot open '%1': %2").arg(path, msg));
    }
    sqlite3_extended_result_codes(d.db, 1);
    sqlite3_busy_timeout(d.db, 0);
    try {
        harden(d.db);
        if (!options.readOnly && sqlite3_db_readonly(d.db, "main") == 1)
            throw Error(Error::Kind::ReadOnly, QStringLiteral("The file '%1' is read-only").arg(path));
        if (options.exclusive)
            d.execRaw("PRAGMA locking_mode=EXCLUSIVE");
        // Reading the schema is what tells a database from any other file (and rolls back
        // what a crash left half written).
        d.execRaw("SELECT count(*) FROM sqlite_master");
        // Each page read is checked as it is read, so damage inside a page is an error there
        // rather than a wrong answer.
        d.execRaw("PRAGMA cell_size_check=ON");
        // Read after the schema, since rolling back what a crash left changes the header. The
        // whole check grows with the analysis, and start-up with it: a caller may leave it for
        // later, but not for a file whose header does not vouch for it.
        const ShapeCheck shape = CheckShape(d.db);
        if (shape.shape == Shape::Damaged)
            throw Error(Error::Kind::NotDatabase, QStringLiteral("The file '%1' is damaged: %2").arg(path, shape.reason));
        // Asking every table for its fields is most of the open's own reading: the program's
        // own schema, recognised whole, is spared it.
        if (!options.ownSchema.empty() && schemaIs(d.db, options.ownSchema))
            d.ownSchemaAt = d.schemaCookie();
        else if (const QString foreign = foreignSchema(d.db); !foreign.isEmpty())
            throw Error(Error::Kind::Foreign, foreign);
        if (options.checkEveryPage || shape.shape == Shape::Unvouched) {
            db->CheckEveryPage();
            if (const QString oversized = oversizedValue(d.db); !oversized.isEmpty())
                throw Error(Error::Kind::Foreign, oversized);
        } else {
            // Measuring the values reads every row, which is as much of the open as the rest
            // together: it goes with the pages, and until then no longer value can be read.
            d.valuesUnchecked = true;
            d.lengthLimit = sqlite3_limit(d.db, SQLITE_LIMIT_LENGTH, int(kLongestValue));
        }
        if (!options.readOnly) {
            sqlite3_stmt* st = d.prepare(QStringLiteral("PRAGMA journal_mode"));
            QString mode;
            if (d.step(st, QStringLiteral("journal")) == SQLITE_ROW)
                mode = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
            sqlite3_reset(st);
            if (mode.compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0)
                d.execRaw("PRAGMA journal_mode=DELETE");
            d.execRaw("PRAGMA synchronous=FULL");
            if (options.exclusive) {
                // Take the write lock now, so a second opener is refused at once rather than
                // failing at its first save.
                d.execRaw("BEGIN EXCLUSIVE");
                d.execRaw("COMMIT");
            }
        }
    } catch (const Error&) {
        d.finalizeAll();
        sqlite3_close_v2(d.db);
        d.db = nullptr;
        throw;
    }
    return db;
}

std::unique_ptr<Database> Database::Create(const QString& path)
{
    if (QFileInfo::exists(path))
        throw Error(Error::Kind::Generic, QStringLiteral("The file '%1' already exists").arg(path));
    std::unique_ptr<Database> db(new Database);
    Impl& d = *db->d;
    d.path = path;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &d.db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = d.db ? QString::fromUtf8(sqlite3_errmsg(d.db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(d.db);
        d.db = nullptr;
        throw Error(Error::Kind::Generic, QStringLiteral("Cannot create '%1': %2").arg(path, msg));
    }
    sqlite3_extended_result_codes(d.db, 1);
    harden(d.db);
    d.execRaw("PRAGMA journal_mode=DELETE");
    d.execRaw("PRAGMA synchronous=FULL");
    return db;
}

bool Database::IsOpen() const { return d->db != nullptr; }
bool Database::IsOwnSchema() const { return d->db && d->ownSchemaAt && *d->ownSchemaAt == d->schemaCookie(); }

void Database::CheckEveryPage()
{
    // Indexes against their tables too: a damaged index hands rows out twice, or leaves them
    // out, and every figure built on them would be wrong without a word.
    sqlite3_stmt* st = d->prepare(QStringLiteral("PRAGMA integrity_check(1)"));
    QString check;
    if (d->step(st, QStringLiteral("check")) == SQLITE_ROW)
        check = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_reset(st);
    if (check != QLatin1String("ok"))
        throw Error(Error::Kind::NotDatabase, QStringLiteral("The file '%1' is damaged: %2").arg(d->path, check));
    if (d->valuesUnchecked)
        d->valuesChecked(detail::oversizedValue(d->db));
    if (!d->overlong.isEmpty())
        throw Error(Error::Kind::Foreign, d->overlong);
}

void Database::StartCheckEveryPage(std::function<void()> finished)
{
    if (d->checkStarted)
        return;   // under way or done, not yet finished
    d->settle();
    if (!d->db)
        throw Error(Error::Kind::Generic, QStringLiteral("The database is closed"));
    d->checkStarted = true;
    d->checkCode = SQLITE_OK;
    d->checkFound.clear();
    // The check has the connection to itself: this thread waits for it before any use (settle).
    auto task = std::make_shared<std::packaged_task<void()>>([impl = d.get(), finished = std::move(finished)] {
        sqlite3_stmt* st = nullptr;
        int rc = sqlite3_prepare_v2(impl->db, "PRAGMA integrity_check(1)", -1, &st, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(st);
        impl->checkCode = rc;
        impl->checkFound = rc == SQLITE_ROW ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)))
                                            : QString::fromUtf8(sqlite3_errmsg(impl->db));
        sqlite3_finalize(st);
        if (rc == SQLITE_ROW && impl->checkFound == QLatin1String("ok") && impl->valuesUnchecked) {
            try {
                impl->valuesChecked(detail::oversizedValue(impl->db));
            } catch (const Error& e) {
                impl->checkCode = SQLITE_ERROR;
                impl->checkFound = e.message();
            }
        }
        if (finished)
            finished();
    });
    d->checker = task->get_future();
    // A thread of the program's pool, idle by now, rather than one made for the check: making a
    // thread, and ending one still at work when the program ends, is a good part of a millisecond.
    if (QThreadPool* pool = QThreadPool::globalInstance())
        pool->start([task] { (*task)(); });
    else
        (*task)();
}

void Database::FinishCheckEveryPage()
{
    if (!d->checkStarted) {
        CheckEveryPage();
        return;
    }
    d->settle();
    d->checkStarted = false;
    if (d->checkCode != SQLITE_ROW && d->checkCode != SQLITE_DONE)
        throw Error(kindOf(d->checkCode), QStringLiteral("check: ") + d->checkFound);
    if (d->checkFound != QLatin1String("ok"))
        throw Error(Error::Kind::NotDatabase,
                    QStringLiteral("The file '%1' is damaged: %2").arg(d->path, d->checkFound));
    if (!d->overlong.isEmpty())
        throw Error(Error::Kind::Foreign, d->overlong);
}

QString Database::Path() const { return d->path; }
bool Database::IsReadOnly() const { return d->readOnly; }
sqlite3* Database::handle() const
{
    d->settle();
    return d->db;
}
int Database::TransactionDepth() const { return d->depth; }

int Database::Execute(const QString& sql, const QVariantList& params)
{
    // SQLite bumps the schema cookie on every change to the schema, however the text reads.
    const int cookie = d->schemaCookie();
    const int n = d->run(sql, params);
    if (d->schemaCookie() != cookie)
        d->schemaChanged();
    return n;
}

bool Database::TableExists(const QString& table) const { return !d->realTableName(table).isEmpty(); }

QStringList Database::TableNames() const
{
    QStringList out;
    sqlite3_stmt* st = d->prepare(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"));
    while (d->step(st, QStringLiteral("tables")) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_reset(st);
    return out;
}

QList<FieldDef> Database::Fields(const QString& table) const
{
    QList<FieldDef> out;
    for (const auto& c : d->tableColumns(table))
        out << FieldDef{c.name, c.type, c.size};
    return out;
}

bool Database::FieldExists(const QString& table, const QString& field) const
{
    for (const auto& c : d->tableColumns(table))
        if (c.name.compare(field, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QStringList Database::PrimaryKey(const QString& table) const { return d->primaryKey(table); }

QStringList Database::IndexNames(const QString& table) const
{
    QStringList out;
    if (!d->primaryKey(table).isEmpty())
        out << QStringLiteral("PrimaryKey");
    sqlite3_stmt* st = d->prepare(QStringLiteral("PRAGMA index_list(%1)").arg(quoted(table)));
    while (d->step(st, table) == SQLITE_ROW) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        if (!name.startsWith(QLatin1String("sqlite_")))
            out << jetIndexName(name);
    }
    sqlite3_reset(st);
    return out;
}

void Database::BeginTrans()
{
    if (d->depth == 0)
        d->execRaw("BEGIN");
    else
        d->execRaw(QStringLiteral("SAVEPOINT sp%1").arg(d->depth).toUtf8().constData());
    ++d->depth;
}

void Database::CommitTrans()
{
    if (d->depth == 0)
        throw Error(Error::Kind::Generic, QStringLiteral("Commit without a transaction"));
    if (d->depth == 1)
        d->execRaw("COMMIT");
    else
        d->execRaw(QStringLiteral("RELEASE sp%1").arg(d->depth - 1).toUtf8().constData());
    --d->depth;
}

void Database::Rollback()
{
    if (d->depth == 0)
        throw Error(Error::Kind::Generic, QStringLiteral("Rollback without a transaction"));
    if (d->depth == 1) {
        d->execRaw("ROLLBACK");
    } else {
        const QByteArray sp = QStringLiteral("sp%1").arg(d->depth - 1).toUtf8();
        d->execRaw(("ROLLBACK TO " + sp).constData());
        d->execRaw(("RELEASE " + sp).constData());
    }
    --d->depth;
    d->schemaChanged();
}

Transaction::Transaction(Database& db) : mDb(db) { mDb.BeginTrans(); }

Transaction::~Transaction()
{
    if (!mDone) {
        try {
            mDb.Rollback();
        } catch (...) {
        }
    }
}

void Transaction::commit()
{
    mDb.CommitTrans();
    mDone = true;
}

} // namespace dao
