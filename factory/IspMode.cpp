#include "factory/IspMode.h"

#include "link/Commands.h"
#include "platform/Check.h"

namespace orvane {

FactoryResult enterIspMode(FactoryServices &services, CommandCode code)
{
    ORVANE_CHECK(code == CommandCode::IspFromEeprom || code == CommandCode::IspMakerLoader,
                 return FactoryOutcome::Cancelled);
    FactoryExchange exchange(services, ExchangeKind::Writes);
    if (exchange.busy())
        return exchange.refuseBusy();
    exchange.beep();
    if (!exchange.confirm("Put P89LPC9408 into ISP mode",
                          "This will put P89LPC9408 back into ISP mode!"))
        return exchange.stopped();
    exchange.view().setReport({});
    if (!exchange.connect())
        return exchange.stopped();

    exchange.step("putting the P89LPC9408 into ISP mode");
    exchange.delay(kEndCommandPause);
    const bool sent = exchange.send(ispFrame(code), 0);
    // The instrument no longer answers the command set, whether or not the
    // frame went out whole: the next tool connects afresh.
    if (!sent)
        return exchange.fail();
    services.link.setConnected(false);
    exchange.view().setConnectedCaption(kNotConnectedText);
    exchange.view().hideProgress();
    exchange.view().hideWindow();
    return FactoryOutcome::Completed;
}

FactoryResult disconnectAndClose(FactoryServices &services, CommandCode code)
{
    ORVANE_CHECK(code == CommandCode::SoftReset || code == CommandCode::Disconnect,
                 code = CommandCode::Disconnect);
    FactoryExchange exchange(services, ExchangeKind::Writes);
    if (exchange.busy())
        return exchange.refuseBusy();
    if (services.link.linkState().IsConnected) {
        exchange.delay(kEndCommandPause);
        services.connection.endExchange(code);
        exchange.view().setConnectedCaption(kNotConnectedText);
        exchange.view().hideProgress();
    }
    exchange.view().hideWindow();
    return FactoryOutcome::Completed;
}

} // namespace orvane
