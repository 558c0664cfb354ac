#pragma once

#include "config/ConfigDocument.h"
#include "config/FileState.h"
#include "factory/FactoryView.h"
#include "factory/ProvisioningImages.h"
#include "link/ByteLink.h"
#include "link/Connection.h"
#include "link/Exchange.h"
#include "platform/Platform.h"
#include "platform/Result.h"
#include "transfer/InstrumentSnapshot.h"
#include "transfer/TransferState.h"

#include <optional>
#include <string>
#include <string_view>

// What every factory tool is built from: the services it works on, its
// questions, its files, and the exchange with the instrument. Nothing is sent
// before every answer and every file has been checked; a tool that stops
// half-way tells the user what failed, where, and whether anything had been
// written.

namespace orvane {

enum class FactoryOutcome {
    Completed,
    Cancelled,    // No at a confirmation, Cancel or an empty answer at a prompt or file box
    NotConnected, // the connection failed; it has told the user
    Busy,         // another exchange holds the line; refused with a message
};

// How a tool ended. A tool that refused an answer or a file, or stopped
// half-way, is a failure carrying the message the user was shown.
using FactoryResult = Result<FactoryOutcome>;

// What the factory tools work on; the main window owns all of it.
struct FactoryServices
{
    Platform &platform;
    ByteLink &link;
    Connection &connection;
    ConfigDocument &document;
    TransferState &transfer;
    const FileState &files; // the working folder the data files are read from
    FactoryView &view;
};

// An input box of the factory window; only the new unit's serial number
// has a default answer.
struct Prompt
{
    const char *title;
    const char *text;
};

// One run of a factory tool: its questions and files, and its exchange with
// the instrument. Holds the line for its lifetime (a second exchange is
// refused meanwhile) and remembers how the run stopped.
class FactoryExchange : public Exchange
{
public:
    // Whether the tool writes to the instrument decides what a failure says
    // about it.
    FactoryExchange(FactoryServices &services, ExchangeKind kind);
    ~FactoryExchange();
    FactoryExchange(const FactoryExchange &) = delete;
    FactoryExchange &operator=(const FactoryExchange &) = delete;

    // Another exchange held the line when the tool began.
    bool busy() const { return !m_holdsLine; }
    // Tells the user what holds the line; the tool's result.
    FactoryResult refuseBusy();

    // How the run stopped, for a tool that returns early: cancelled, not
    // connected, or the failure the user was shown.
    FactoryResult stopped() const { return m_stopped; }

    // --- questions and files -------------------------------------------------
    void beep();
    // "Are you sure?" and the warning, Yes and No, question icon. No stops.
    bool confirm(const char *title, const char *warning);
    // The typed text, checked by `parse`; nothing when the box was cancelled
    // or left empty, or when the answer was refused (after saying why).
    template<typename Parse>
    auto ask(const Prompt &prompt, Parse parse, const std::string &defaultAnswer = {})
        -> std::optional<std::decay_t<decltype(*parse(std::string_view()))>>
    {
        const std::string typed
            = m_services.platform.dialogs.inputBox(prompt.text, prompt.title, defaultAnswer);
        if (isBlank(typed))
            return stop(FactoryOutcome::Cancelled);
        auto value = parse(std::string_view(typed));
        if (!value)
            return refuse(value.error(), prompt.title);
        return std::move(*value);
    }
    // The text typed, unchecked (for prompts where an empty answer means
    // something); nothing on Cancel.
    std::string askText(const Prompt &prompt);
    // The chosen path; nothing on Cancel.
    std::optional<std::string> openFileName(const char *title, const char *filter);
    std::optional<std::string> saveFileName(const char *title, const char *filter);
    // The whole file at `path`; nothing when it cannot be read (after saying why).
    std::optional<std::string> readFile(const std::string &path);
    // A data file or code module of the working folder, by name.
    std::optional<std::string> readWorkingFile(std::string_view name);
    std::string workingPath(std::string_view name) const;
    // Writes a whole file, replacing the old one only once the new one is
    // complete; false after saying why.
    bool writeFile(const std::string &path, const std::string &content);
    // Refuses an answer or a file with a message box; stops the tool.
    std::nullopt_t refuse(const std::string &message, const std::string &title);

    // --- the exchange ----------------------------------------------------------
    // Connects unless connected; false (the connection has told the user)
    // stops the tool.
    bool connect();
    // The configuration and curve records an upload writes, read as the
    // transfers read them, into `held`; false when the reads failed.
    bool readUnitRecords(InstrumentSnapshot &held);

    // Stops the tool half-way: the link counts as not connected, the progress
    // window goes, and the user reads what failed, where, and whether
    // anything was written.
    FactoryResult fail();

    FactoryServices &services() { return m_services; }
    FactoryView &view() { return m_services.view; }

private:
    static bool isBlank(std::string_view text);
    std::nullopt_t stop(FactoryResult result);

    FactoryServices &m_services;
    bool m_holdsLine = false;
    FactoryResult m_stopped = FactoryOutcome::Cancelled;
};

// The last part of a path, for messages.
std::string fileNameOf(const std::string &path);

} // namespace orvane
