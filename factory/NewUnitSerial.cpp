#include "factory/NewUnitSerial.h"

#include "factory/SerialNumber.h"
#include "factory/UnitRecordKeeping.h"

#include <string>

namespace orvane {

namespace {

long long serialOf(const SerialNumberBytes &bytes)
{
    return serialNumberOf(bytes[0] * 10000 + bytes[1] * 100 + bytes[2], bytes[3]);
}

bool confirmRemake(FactoryExchange &exchange, long long serial, const Claim &refused)
{
    exchange.beep();
    return exchange.services().platform.dialogs.messageBox(
               takenSerialSentence(serial, refused.earlier) + "\r\nRe-make a returned unit as "
                   + std::to_string(serial) + "?",
               kSerialTakenTitle,
               MessageIcon::Question,
               MessageButtons::YesNo)
           == MessageAnswer::Yes;
}

// The record of a number typed instead of the one offered: a new unit's,
// or a returned unit's once the technician confirms it. Nothing when the
// technician declined; the failure when the register refused.
Result<std::optional<UnitRecord>> claimTyped(FactoryExchange &exchange,
                                             ProductionRegister &productionRegister,
                                             long long serial,
                                             int port)
{
    const Result<Claim> claimed = productionRegister.claim(serial, port, ClaimKind::NewUnit);
    if (!claimed)
        return failure(claimed.error());
    if (claimed->record)
        return std::optional(*claimed->record);
    if (!confirmRemake(exchange, serial, *claimed))
        return std::optional<UnitRecord>();
    const Result<Claim> remade = productionRegister.claim(serial, port, ClaimKind::RemakeReturned);
    if (!remade)
        return failure(remade.error());
    return remade->record;
}

} // namespace

std::optional<UnitRecord> chooseNewUnitSerial(FactoryExchange &exchange,
                                              ProductionRegister &productionRegister,
                                              const Prompt &prompt,
                                              int productionDay,
                                              int port)
{
    const Result<UnitRecord> offered = productionRegister.issueNext(productionDay, port);
    if (!offered)
        return exchange.refuse(registerStopsSentence(offered.error()), kRegisterTitle);
    const std::string offeredText = std::to_string(offered->key.serial);
    const auto voidOffered = [&](const std::string &why) {
        // Best effort: a number left open shows as interrupted, and stays taken.
        (void)productionRegister.finish(offered->key, UnitState::Void, why);
    };
    // Until the technician takes a number, cancels, or types a bad one.
    while (true) {
        const auto typed = exchange.ask(prompt, parseSerialNumber, offeredText);
        if (!typed) {
            voidOffered("Not used: the serial number's prompt was cancelled or its answer "
                        "refused.");
            return std::nullopt;
        }
        const long long serial = serialOf(*typed);
        if (serial == offered->key.serial)
            return *offered;
        const Result<std::optional<UnitRecord>> claimed
            = claimTyped(exchange, productionRegister, serial, port);
        if (!claimed) {
            voidOffered("Not used: the number typed instead could not be recorded.");
            return exchange.refuse(registerStopsSentence(claimed.error()), kRegisterTitle);
        }
        if (*claimed) {
            voidOffered("Not used: " + std::to_string(serial) + " was typed instead.");
            return **claimed;
        }
    }
}

int productionDayToday(Clock &clock)
{
    const LocalDateTime now = clock.localDateTime();
    return productionDayOf(now.year, now.month, now.day);
}

} // namespace orvane
