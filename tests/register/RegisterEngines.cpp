#include "RegisterEngines.h"

#include "platform/sql/SqlConnection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace orvane::test {

namespace {

// 2025-03-14 09:00:00 UTC: a clock the tests move by hand.
constexpr std::chrono::sys_seconds kTestStart{std::chrono::seconds(1'741'942'800)};

std::unique_ptr<SqlConnection> connectTo(const std::string &url)
{
    const auto location = parseRegisterUrl(url);
    if (!location)
        throw std::runtime_error(location.error());
    auto connection = SqlConnection::open(*location);
    if (!connection)
        throw std::runtime_error(connection.error());
    return std::move(*connection);
}

void run(SqlConnection &connection, const std::string &statement)
{
    if (auto done = connection.exec(QString::fromStdString(statement), "run a test statement");
        !done)
        throw std::runtime_error(done.error());
}

} // namespace

std::string engineName(Engine engine)
{
    switch (engine) {
    case Engine::Fake:
        return "Fake";
    case Engine::SQLite:
        return "SQLite";
    case Engine::PostgreSQL:
        return "PostgreSQL";
    }
    return "Unknown";
}

std::string postgresClusterUrl()
{
    std::ifstream state(ORVANE_TEST_POSTGRES_STATE);
    std::string url;
    if (!std::getline(state, url) || url.empty())
        throw std::runtime_error("no test PostgreSQL cluster: " ORVANE_TEST_POSTGRES_STATE
                                 " is missing; run the tests with ctest, which starts it");
    return url;
}

RegisterDatabase::RegisterDatabase(Engine engine)
    : now(kTestStart)
    , m_engine(engine)
{
    switch (engine) {
    case Engine::Fake:
        m_store = std::make_shared<FakeRegisterStore>();
        break;
    case Engine::SQLite:
        m_folder = std::make_unique<TempFolder>();
        m_url = "sqlite:" + m_folder->file("production.sqlite");
        break;
    case Engine::PostgreSQL: {
        static std::atomic<int> next{0};
        m_name = "test_" + std::to_string(::getpid()) + "_" + std::to_string(next++);
        const std::string cluster = postgresClusterUrl();
        run(*connectTo(cluster), "CREATE DATABASE " + m_name);
        m_url = cluster;
        m_url.replace(m_url.find("/orvane?"), 8, "/" + m_name + "?");
        break;
    }
    }
}

RegisterDatabase::~RegisterDatabase()
{
    if (m_engine != Engine::PostgreSQL)
        return;
    try {
        run(*connectTo(postgresClusterUrl()), "DROP DATABASE " + m_name + " WITH (FORCE)");
    } catch (const std::exception &error) {
        ADD_FAILURE() << error.what();
    }
}

std::unique_ptr<ProductionRegister> RegisterDatabase::open(const std::string &station)
{
    RegisterOptions options;
    options.station = station;
    options.operatorName = "technician";
    options.now = [this] {
        return now;
    };
    if (m_engine == Engine::Fake)
        return std::make_unique<FakeProductionRegister>(options, m_store);
    auto opened = SqlProductionRegister::open(*parseRegisterUrl(m_url), options);
    if (!opened)
        throw std::runtime_error(opened.error());
    return std::move(*opened);
}

void RegisterDatabase::execute(const std::string &statement)
{
    run(*connectTo(m_url), statement);
}

} // namespace orvane::test
