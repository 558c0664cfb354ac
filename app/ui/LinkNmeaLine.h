#pragma once

#include "config/ConfigImage.h"
#include "editors/NmeaSelection.h"
#include "link/ByteLink.h"
#include "link/Connection.h"
#include "link/LineUser.h"
#include "transfer/Identification.h"

// The live NMEA view over the main window's byte link and connection.

namespace orvane {

class LinkNmeaLine final : public NmeaLine
{
public:
    LinkNmeaLine(ByteLink &link, Connection &connection, ConfigImage &image)
        : m_link(link)
        , m_connection(connection)
        , m_image(image)
    {}

    bool connect() override
    {
        return m_link.linkState().IsConnected
               || connectToInstrument(m_connection, m_image).connected;
    }
    void sendByte(uint8_t byte) override { m_link.SendByte(byte); }
    void sendByteCheckEcho(uint8_t byte) override { m_link.SendByteCheckEcho(byte); }
    std::string received() const override
    {
        // The poll's answer is in slot 1; a poll that timed out left its
        // marker there and brought nothing.
        const ReceiveState &rx = m_link.rx();
        std::string text;
        for (int slot = 1; slot <= rx.RxCount; ++slot) {
            const int16_t value = rx.RxSlot[size_t(slot)];
            if (value >= 0 && value <= 255)
                text.push_back(char(uint8_t(value)));
        }
        return text;
    }
    bool lost() const override { return m_link.lost(); }
    std::string lostMessage() const override { return m_connection.lostLinkMessage(); }
    bool portOpen() const override { return m_link.isPortOpen(); }
    void endExchange() override { m_connection.endExchange(CommandCode::SoftReset); }
    std::string busyReason() const override { return lineBusyMessage(m_link.linkState().lineUser); }
    void setHeld(bool held) override
    {
        m_link.setLineUser(held ? LineUser::LiveNmea : LineUser::None);
    }

private:
    ByteLink &m_link;
    Connection &m_connection;
    ConfigImage &m_image;
};

} // namespace orvane
