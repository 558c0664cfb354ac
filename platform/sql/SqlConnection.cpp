#include "platform/sql/SqlConnection.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QThread>

#include <atomic>

namespace orvane {

namespace {

// A frozen station (stopped in a debugger, its network gone) holding a
// transaction open would block the others; the server ends it.
constexpr int kIdleTransactionMilliseconds = 60'000;

constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqlitePrimaryKey = 1555;
constexpr int kSqliteUnique = 2067;
const QString kPostgresUniqueViolation = QStringLiteral("23505");
// Any number of this program's own: the advisory lock that migrations take.
constexpr qint64 kMigrationLock = 0x4f52'5641'4e45; // "ORVANE"

struct EngineDriver
{
    const char *driver;
    const char *name;
    const char *package;
};

EngineDriver driverOf(RegisterEngine engine)
{
    if (engine == RegisterEngine::SQLite)
        return {"QSQLITE", "SQLite", "libqt6sql6-sqlite"};
    return {"QPSQL", "PostgreSQL", "libqt6sql6-psql"};
}

QString uniqueConnectionName()
{
    static std::atomic<int> next{0};
    return QStringLiteral("orvane-register-%1").arg(next++);
}

// The server's or the library's own words on one line, without the
// driver's boilerplate.
std::string text(const QSqlError &error)
{
    QString words = error.databaseText().simplified();
    if (words.isEmpty())
        words = error.driverText().simplified();
    if (words.endsWith(QLatin1Char('.')))
        words.chop(1);
    return words.isEmpty() ? std::string("no reason given") : words.toStdString();
}

// libpq's connection options, ';'-separated as Qt's driver takes them.
// Keepalives let a station notice a server that vanished mid-call.
QString postgresOptions(const RegisterLocation &location)
{
    const int timeout = location.connectTimeoutSeconds > 0 ? location.connectTimeoutSeconds
                                                           : kConnectTimeoutSeconds;
    QString options = QStringLiteral("connect_timeout=%1;keepalives=1;keepalives_idle=10;"
                                     "keepalives_interval=5;keepalives_count=3;"
                                     "application_name=orvane")
                          .arg(timeout);
    if (!location.sslMode.empty())
        options += QStringLiteral(";sslmode=") + QString::fromStdString(location.sslMode);
    return options;
}

} // namespace

SqlConnection::SqlConnection(RegisterLocation location)
    : m_location(std::move(location))
    , m_name(uniqueConnectionName())
{}

SqlConnection::~SqlConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase SqlConnection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

Result<std::unique_ptr<SqlConnection>> SqlConnection::open(const RegisterLocation &location)
{
    const EngineDriver engine = driverOf(location.engine);
    if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(engine.driver)))
        return failure("This computer lacks Qt's " + std::string(engine.name) + " driver ("
                       + engine.driver + "), so the production register in " + location.where()
                       + " cannot be opened. Install it (on Debian: sudo apt-get install "
                       + engine.package + ") and try again.");
    std::unique_ptr<SqlConnection> connection(new SqlConnection(location));
    QSqlDatabase::addDatabase(QString::fromLatin1(engine.driver), connection->m_name);
    if (auto connected = connection->connect(); !connected)
        return failure(connected.error());
    return connection;
}

Result<> SqlConnection::connect()
{
    QSqlDatabase db = database();
    const RegisterLocation &at = m_location;
    if (at.engine == RegisterEngine::SQLite) {
        const QString path = QString::fromStdString(at.path);
        QDir().mkpath(QFileInfo(path).absolutePath());
        db.setDatabaseName(path);
        db.setConnectOptions(
            QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMilliseconds));
    } else {
        db.setHostName(QString::fromStdString(at.host));
        db.setPort(at.port == 0 ? -1 : at.port);
        db.setUserName(QString::fromStdString(at.user));
        db.setPassword(QString::fromStdString(at.password));
        db.setDatabaseName(QString::fromStdString(at.database));
        db.setConnectOptions(postgresOptions(at));
    }
    if (!db.open()) {
        if (at.engine == RegisterEngine::SQLite)
            return failure("The production register, " + at.where()
                           + ", cannot be opened: " + text(db.lastError())
                           + ". Check that its folder exists and that this user may write there.");
        return failure("The production register, " + at.where()
                       + ", cannot be reached: " + text(db.lastError())
                       + ". Check that the server runs and that this station may reach it, its "
                         "user name and password (~/.pgpass), or choose another database with "
                         "--db, the factory window's setting or ORVANE_PRODUCTION_DB.");
    }
    // WAL lets the records window read while a station writes; FULL keeps
    // every committed record through a power cut.
    const QStringList settings
        = at.engine == RegisterEngine::SQLite
              ? QStringList{QStringLiteral("PRAGMA journal_mode=WAL"),
                            QStringLiteral("PRAGMA synchronous=FULL"),
                            QStringLiteral("PRAGMA foreign_keys=ON")}
              : QStringList{
                  QStringLiteral("SET statement_timeout = %1").arg(kBusyTimeoutMilliseconds),
                  QStringLiteral("SET idle_in_transaction_session_timeout = %1")
                      .arg(kIdleTransactionMilliseconds)};
    for (const QString &setting : settings)
        if (auto done = execWhenFree(setting, "set up the connection"); !done) {
            db.close();
            return done;
        }
    m_suspect = false;
    return {};
}

Result<> SqlConnection::ensureConnected()
{
    if (!m_suspect)
        return {};
    if (database().isOpen()) {
        QSqlQuery probe(database());
        if (probe.exec(QStringLiteral("SELECT 1"))) {
            m_suspect = false;
            return {};
        }
    }
    database().close();
    return connect();
}

Result<> SqlConnection::begin(bool writing)
{
    // A reading transaction sees one snapshot on both engines (SQLite's
    // deferred transaction does by itself).
    QString statement = QStringLiteral("BEGIN");
    if (m_location.engine == RegisterEngine::SQLite && writing)
        statement = QStringLiteral("BEGIN IMMEDIATE");
    else if (m_location.engine == RegisterEngine::PostgreSQL && !writing)
        statement = QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY");
    return exec(statement, "start a transaction");
}

Result<> SqlConnection::commit()
{
    return exec(QStringLiteral("COMMIT"), "commit the transaction");
}

Result<> SqlConnection::lockForMigration()
{
    if (m_location.engine == RegisterEngine::SQLite)
        return {};
    return exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kMigrationLock),
                "wait for another station's schema update");
}

void SqlConnection::rollback()
{
    if (database().isOpen())
        QSqlQuery(database()).exec(QStringLiteral("ROLLBACK"));
}

Result<> SqlConnection::exec(const QString &statement, const std::string &what)
{
    QSqlQuery query(database());
    if (!query.exec(statement))
        return failed(what, query.lastError());
    return {};
}

// SQLite answers a change of journal mode at once with "busy", without its
// busy handler, while another connection recovers a file a killed station
// left; this waits as the handler would.
Result<> SqlConnection::execWhenFree(const QString &statement, const std::string &what)
{
    const QDeadlineTimer deadline(kBusyTimeoutMilliseconds);
    for (;;) {
        QSqlQuery query(database());
        if (query.exec(statement))
            return {};
        if (!isBusy(query.lastError()) || deadline.hasExpired())
            return failed(what, query.lastError());
        QThread::msleep(50);
    }
}

bool SqlConnection::isBusy(const QSqlError &error) const
{
    const int primary = error.nativeErrorCode().toInt() & 0xff;
    return m_location.engine == RegisterEngine::SQLite
           && (primary == kSqliteBusy || primary == kSqliteLocked);
}

bool SqlConnection::isUniqueViolation(const QSqlError &error) const
{
    if (m_location.engine == RegisterEngine::PostgreSQL)
        return error.nativeErrorCode() == kPostgresUniqueViolation;
    const int code = error.nativeErrorCode().toInt();
    return code == kSqliteUnique || code == kSqlitePrimaryKey;
}

Failure SqlConnection::failed(const std::string &what, const QSqlError &error)
{
    m_suspect = true;
    const std::string where = m_location.where();
    if (isBusy(error))
        return failure(
            "The production register, " + where + ", stayed locked by another program for "
            + std::to_string(kBusyTimeoutMilliseconds / 1000) + " s, so this station could not "
            + what + ". Nothing was changed; try again once the other program is done.");
    return failure("The production register, " + where + ", could not " + what + ": " + text(error)
                   + ". Nothing was changed; check the database (for PostgreSQL, that its "
                     "server runs and is reachable) and try again.");
}

} // namespace orvane
