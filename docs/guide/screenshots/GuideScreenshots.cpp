// Takes the guide's screenshots from the real windows, offscreen, filled
// with the factory defaults, so that the pictures follow every change of a
// window. The virtual instrument of the tests answers the port dialog's Test.
//
//     orvane_guide_screenshots FOLDER     writes FOLDER/*.png

#include "app/AppState.h"
#include "app/ui/MainLinkView.h"
#include "app/ui/frmMain.h"
#include "editors/ui/frmDamping.h"
#include "editors/ui/frmNmea.h"
#include "editors/ui/frmSenders.h"
#include "link/ui/frmComms.h"
#include "support/FakePlatform.h"
#include "transfer/SelectionDialog.h"
#include "transfer/ui/TransferController.h"
#include "transfer/ui/frmBeingSentReceived.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <iostream>

namespace orvane {
namespace {

// Devices as a Linux laptop with one USB adapter names them.
class LaptopPort : public test::FakeSerialPort
{
public:
    using FakeSerialPort::FakeSerialPort;
    std::string deviceForPort(int portNumber) override
    {
        return portNumber == 1 ? "/dev/ttyUSB0" : "/dev/ttyS" + std::to_string(portNumber - 1);
    }
    std::vector<SerialDeviceInfo> availableDevices() override
    {
        return {{"/dev/ttyS0", "", "", std::nullopt, std::nullopt},
                {"/dev/ttyUSB0", "FT232R USB UART", "FTDI", 0x0403, 0x6001}};
    }
};

class Shooter
{
public:
    explicit Shooter(QString folder)
        : m_folder(std::move(folder))
    {}

    // Full colour: a palette of 256 turns the display glass's soft glare
    // into a flat grey wedge.
    bool save(QWidget &window, const char *name)
    {
        QApplication::processEvents();
        const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString path = QDir(m_folder).filePath(QString::fromUtf8(name));
        if (!image.save(path, "PNG", 0)) {
            std::cerr << "cannot write " << path.toStdString() << "\n";
            return false;
        }
        std::cout << path.toStdString() << "\n";
        return true;
    }

private:
    QString m_folder;
};

template<class T>
T *named(QWidget &window, const char *name)
{
    T *found = window.findChild<T *>(QString::fromUtf8(name));
    if (!found)
        std::cerr << "no control " << name << "\n";
    return found;
}

int run(const QString &folder)
{
    QTemporaryDir programDir;
    test::FakePlatform fake;
    fake.files.programDir = programDir.path().toStdString();
    fake.files.userDataDir = programDir.path().toStdString();
    LaptopPort port(fake.scheduler, fake.instrument);
    Platform platform{fake.clock, fake.pump, fake.dialogs, fake.files, port, fake.settings};

    AppState state;
    frmMain window(state, platform);
    window.startup();
    window.show();
    Shooter shooter(folder);
    bool ok = shooter.save(window, "main-window.png");

    frmComms &comms = window.linkView().commsWindow();
    comms.show();
    if (auto *com1 = named<QRadioButton>(comms, "optComm1"))
        com1->setChecked(true);
    if (auto *test = named<QPushButton>(comms, "cmdCommsTest"))
        test->click();
    ok = shooter.save(comms, "port-dialog.png") && ok;
    comms.hide();

    frmBeingSentReceived &selection = *window.transfers().selectionWindow();
    selection.setSelectionCaption(kUploadCaption);
    for (int k = 0; k < kCategoryCount; ++k)
        selection.setBox(k, true, state.transfer.UploadSelection[size_t(k)] == 1);
    selection.show();
    ok = shooter.save(selection, "transfer-dialog.png") && ok;
    selection.hide();

    frmSenders &senders = *window.sendersWindow();
    senders.show();
    if (auto *edit = named<QPushButton>(senders, "cmdEditCurve16"))
        edit->click();
    ok = shooter.save(senders, "senders.png") && ok;
    senders.hide();

    frmNmea &nmea = *window.nmeaWindow();
    nmea.show();
    ok = shooter.save(nmea, "nmea.png") && ok;
    nmea.hide();

    frmDamping &damping = *window.dampingWindow();
    damping.show();
    ok = shooter.save(damping, "damping.png") && ok;
    damping.hide();

    if (fake.dialogs.unexpected != 0)
        std::cerr << fake.dialogs.unexpected << " unexpected dialogs while taking screenshots\n";
    return ok ? 0 : 1;
}

} // namespace
} // namespace orvane

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: orvane_guide_screenshots FOLDER\n";
        return 2;
    }
    return orvane::run(QString::fromLocal8Bit(argv[1]));
}
