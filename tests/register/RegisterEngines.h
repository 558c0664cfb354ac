#pragma once

#include "platform/sql/SqlProductionRegister.h"
#include "support/FakeProductionRegister.h"
#include "support/TempFolder.h"

#include <chrono>
#include <memory>
#include <ostream>
#include <string>

namespace orvane::test {

enum class Engine { Fake, SQLite, PostgreSQL };

std::string engineName(Engine engine);
// Names the engine in Google Test's messages.
inline void PrintTo(Engine engine, std::ostream *out)
{
    *out << engineName(engine);
}

// One fresh, empty database per test; the registers opened on it are
// stations sharing it, all on the test's clock.
class RegisterDatabase
{
public:
    explicit RegisterDatabase(Engine engine);
    ~RegisterDatabase();
    RegisterDatabase(const RegisterDatabase &) = delete;
    RegisterDatabase &operator=(const RegisterDatabase &) = delete;

    // Empty for the fake.
    const std::string &url() const { return m_url; }
    // A station's register; the test fails when it cannot be opened.
    std::unique_ptr<ProductionRegister> open(const std::string &station);
    // Runs a statement on the database directly, as another program would.
    void execute(const std::string &statement);

    std::chrono::system_clock::time_point now;

private:
    Engine m_engine;
    std::string m_url;
    std::string m_name; // PostgreSQL: the database made for the test
    std::unique_ptr<TempFolder> m_folder;
    std::shared_ptr<FakeRegisterStore> m_store;
};

// The URL of the test cluster's own database (scripts/postgres-cluster.sh).
std::string postgresClusterUrl();

} // namespace orvane::test
