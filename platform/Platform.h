#pragma once

#include "platform/Result.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The only door to the operating system. Everything above this header is
// plain C++ and runs headless; the Qt platform implements it for the program,
// the fake platform (virtual clock, scripted answers) for the tests.

namespace orvane {

struct LocalDateTime
{
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    // Monotonic seconds; only differences matter.
    virtual double monotonicSeconds() = 0;
    virtual LocalDateTime localDateTime() = 0;
};

class EventPump
{
public:
    virtual ~EventPump() = default;
    // Handle every pending event once, without sleeping.
    virtual void processPendingEvents() = 0;
    // Sleep until an event arrives or the timeout passes, then handle what came.
    virtual void waitForEvents(double timeoutSeconds) = 0;
};

enum class MessageIcon { None, Question, Warning, Critical, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

class UserDialogs
{
public:
    virtual ~UserDialogs() = default;
    virtual void beep() = 0;
    virtual MessageAnswer messageBox(const std::string &text,
                                     const std::string &title,
                                     MessageIcon icon,
                                     MessageButtons buttons)
        = 0;
    // The typed text, or an empty text on Cancel.
    virtual std::string
    inputBox(const std::string &prompt, const std::string &title, const std::string &defaultText)
        = 0;
    // The chosen path, or an empty text on Cancel. The filter is the
    // "Name| *.EXT" form of the configuration files.
    virtual std::string openFileName(const std::string &title, const std::string &filter) = 0;
    virtual std::string saveFileName(const std::string &title, const std::string &filter) = 0;
};

class FileSystem
{
public:
    virtual ~FileSystem() = default;
    virtual std::string programFolder() = 0;
    virtual std::string userDataFolder() = 0;
    virtual bool isWritableFolder(const std::string &folder) = 0;
    // A copy installed by the package keeps its files in the per-user folder,
    // even where it could write beside itself (run as root).
    virtual bool isInstalledCopy() { return false; }
    // Relative names resolve against the folder given.
    virtual std::string resolve(const std::string &folder, const std::string &name) = 0;
    // The file's bytes, or why it could not be read.
    virtual Result<std::string> readFile(const std::string &path) = 0;
    // Replaces the file only once the new content is complete on disk, so a
    // crash or full disk leaves the previous file intact.
    virtual Result<> writeFileAtomically(const std::string &path, const std::string &content) = 0;

    // Folders the editor keeps files in (the copies of each unit). A file
    // system that cannot do this says so, and whatever needed it stops.
    enum class EntryKind { Files, Folders };
    // Creates the folder and any missing parents.
    virtual Result<> makeFolders(const std::string &path)
    {
        return failure("Folders cannot be made here: " + path);
    }
    // Names (not paths) in the folder, sorted; none when it cannot be read.
    virtual std::vector<std::string> folderEntries(const std::string & /*folder*/, EntryKind)
    {
        return {};
    }
    virtual Result<> removeFile(const std::string &path)
    {
        return failure("Files cannot be removed here: " + path);
    }
    // Whether the file is there to be read (a recent file may have gone).
    virtual bool fileExists(const std::string &path) { return readFile(path).ok(); }
};

struct SerialDeviceInfo
{
    std::string systemLocation; // /dev/ttyUSB0, COM3
    std::string description;
    std::string manufacturer;
    std::optional<uint16_t> vendorId;
    std::optional<uint16_t> productId;
};

class SerialPort
{
public:
    virtual ~SerialPort() = default;
    // Opens port number 1..16 at 115200,n,8,1, no handshake, RTS off; a
    // failure says why.
    virtual Result<> open(int portNumber) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // False when the byte could not be written (port closed or gone).
    virtual bool writeByte(uint8_t byte) = 0;
    virtual std::vector<uint8_t> readAll() = 0;
    virtual void discardInput() = 0;
    // Called from the event loop whenever bytes are waiting.
    virtual void setReceiveHandler(std::function<void()> handler) = 0;
    // Called from the event loop when the port fails (device gone, I/O error).
    virtual void setErrorHandler(std::function<void(const std::string &)> handler) = 0;
    // The device a port number reaches, for the port dialog.
    virtual std::string deviceForPort(int portNumber) = 0;
    virtual std::vector<SerialDeviceInfo> availableDevices() = 0;
    // One line per problem with the device a port number reaches (missing,
    // not permitted, slow adapter), for the port dialog.
    virtual std::vector<std::string> adviceForPort(int /*portNumber*/) { return {}; }
};

// What the editor remembers for its user between runs (the recent files, the
// production database), apart from the working file. Lists of texts by key.
class UserSettings
{
public:
    virtual ~UserSettings() = default;
    // Empty when nothing was kept under the key.
    virtual std::vector<std::string> textList(const std::string &key) = 0;
    virtual void setTextList(const std::string &key, const std::vector<std::string> &values) = 0;

    // One text under the key; empty when none was kept.
    std::string text(const std::string &key)
    {
        const std::vector<std::string> values = textList(key);
        return values.empty() ? std::string() : values.front();
    }
    void setText(const std::string &key, const std::string &value)
    {
        setTextList(key, value.empty() ? std::vector<std::string>{} : std::vector{value});
    }
};

// Settings that keep nothing, for programs and tests that remember nothing
// between runs.
class NoUserSettings : public UserSettings
{
public:
    std::vector<std::string> textList(const std::string &) override { return {}; }
    void setTextList(const std::string &, const std::vector<std::string> &) override {}
};

inline UserSettings &noUserSettings()
{
    static NoUserSettings none;
    return none;
}

class ProductionDatabase;
ProductionDatabase &noProductionDatabase();

// The set of services one program run uses.
struct Platform
{
    Clock &clock;
    EventPump &pump;
    UserDialogs &dialogs;
    FileSystem &files;
    SerialPort &port;
    UserSettings &settings = noUserSettings();
    // Where the factory records the units it makes (platform/ProductionDatabase.h).
    ProductionDatabase &production = noProductionDatabase();
};

} // namespace orvane
