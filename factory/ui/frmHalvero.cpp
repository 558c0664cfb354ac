#include "factory/ui/frmHalvero.h"

#include "factory/BytePrograms.h"
#include "factory/CodeImages.h"
#include "factory/IspMode.h"
#include "factory/MemoryDumps.h"
#include "factory/ProductionRecords.h"
#include "factory/Provisioning.h"
#include "factory/StationDatabase.h"
#include "factory/ui/WaitCursor.h"
#include "ui_frmHalvero.h"

#include <QFontDatabase>

namespace orvane {

namespace {

constexpr const char *kProductionDbTitle = "Production Database";

QString qtText(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

frmHalvero::frmHalvero(Platform &platform,
                       ByteLink &link,
                       Connection &connection,
                       ConfigDocument &document,
                       TransferState &transfer,
                       const FileState &files,
                       QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::frmHalvero)
    , m_services{platform, link, connection, document, transfer, files, *this}
{
    ui->setupUi(this);
    // Dumps line up by address.
    ui->txtHalveroData->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connectButtons();
}

frmHalvero::~frmHalvero()
{
    delete ui;
}

void frmHalvero::connectButtons()
{
    using Tool = std::function<FactoryResult(FactoryServices &)>;
    const auto dump = [](FactoryMemory memory) -> Tool {
        return [memory](FactoryServices &s) {
            return dumpMemory(s, memory);
        };
    };
    const auto isp = [](CommandCode code) -> Tool {
        return [code](FactoryServices &s) {
            return enterIspMode(s, code);
        };
    };
    const auto disconnect = [](CommandCode code) -> Tool {
        return [code](FactoryServices &s) {
            return disconnectAndClose(s, code);
        };
    };
    const std::pair<QPushButton *, Tool> buttons[] = {
        {ui->cmdDisplayRam, dump(FactoryMemory::Iram)},
        {ui->cmdDisplayXram, dump(FactoryMemory::Xram)},
        {ui->cmdDisplayIntNvmData, dump(FactoryMemory::InternalNvm)},
        {ui->cmdDisplayExtNvmData, dump(FactoryMemory::Eeprom)},
        {ui->cmdDisplayFlashRom, dump(FactoryMemory::Flash)},
        {ui->cmdProgByte24C512, programEepromByte},
        {ui->cmdProgByteIntNvm, programInternalNvmByte},
        {ui->cmdHalveroNewSN, writeSerialNumber},
        {ui->cmdHalveroNew24C512, zeroLogs},
        {ui->cmdHalveroNewTessaro, makeNewUnit},
        {ui->cmdHalveroUploadCalData, uploadCalibrationCurves},
        {ui->cmdHalveroUploadNmea, uploadNmeaTables},
        {ui->cmdReadHex7168, convertHexToCode},
        {ui->cmdSaveFileTo24C512, storeCodeFile},
        {ui->cmdSaveFlashCode2File, readFlashToCode},
        {ui->cmdHalveroCopyCodeToFlash, copyCodeToFlash},
        {ui->cmdIspMode, isp(CommandCode::IspFromEeprom)},
        {ui->cmdIspMode2, isp(CommandCode::IspMakerLoader)},
        {ui->cmdSoftDisconnect, disconnect(CommandCode::SoftReset)},
        {ui->cmdDisconnect, disconnect(CommandCode::Disconnect)},
    };
    for (const auto &[button, tool] : buttons)
        connect(button, &QPushButton::clicked, this, [this, tool] { run(tool); });
    connect(ui->cmdUseProductionDb,
            &QPushButton::clicked,
            this,
            &frmHalvero::cmdUseProductionDb_Click);
    connect(ui->cmdCheckProductionDb,
            &QPushButton::clicked,
            this,
            &frmHalvero::cmdCheckProductionDb_Click);
}

void frmHalvero::showEvent(QShowEvent *event)
{
    showProductionDatabase();
    QDialog::showEvent(event);
}

void frmHalvero::showProductionDatabase()
{
    Platform &platform = m_services.platform;
    ui->txtProductionDb->setText(qtText(stationDatabaseSetting(platform.settings)));
    const Result<std::string> inUse = databaseInUse(platform.production, {});
    ui->lblProductionDbInUse->setText(inUse ? QStringLiteral("In use: ") + qtText(*inUse)
                                            : qtText(inUse.error()));
}

void frmHalvero::cmdUseProductionDb_Click()
{
    Platform &platform = m_services.platform;
    const Result<std::string> inUse
        = setStationDatabase(platform, ui->txtProductionDb->text().toStdString());
    // A URL that does not read stays in the box to be put right.
    if (!inUse) {
        platform.dialogs.messageBox(inUse.error(),
                                    kProductionDbTitle,
                                    MessageIcon::Warning,
                                    MessageButtons::Ok);
        return;
    }
    showProductionDatabase();
}

void frmHalvero::cmdCheckProductionDb_Click()
{
    Result<std::string> answered = failure({});
    {
        const WaitCursor waiting;
        answered = checkStationDatabase(m_services.platform.production);
    }
    m_services.platform.dialogs.messageBox(
        answered ? "This station records in " + *answered + ". It answered." : answered.error(),
        kProductionDbTitle,
        answered ? MessageIcon::Information : MessageIcon::Warning,
        MessageButtons::Ok);
}

void frmHalvero::run(const std::function<FactoryResult(FactoryServices &)> &tool)
{
    m_lastResult = tool(m_services);
    emit toolFinished();
}

void frmHalvero::showIdentity(const std::string &serialNumber,
                              const std::string &softwareVersion,
                              const std::string &hardwareVersion)
{
    ui->txtOrvaneSN->setText(qtText(serialNumber));
    ui->txtOrvaneSwVer->setText(qtText(softwareVersion));
    ui->txtOrvaneHwVer->setText(qtText(hardwareVersion));
}

void frmHalvero::showChipVersions(const std::array<std::string, 4> &versions)
{
    ui->txtU101SwVer->setText(qtText(versions[0]));
    ui->txtU201SwVer->setText(qtText(versions[1]));
    ui->txtU301SwVer->setText(qtText(versions[2]));
    ui->txtU401SwVer->setText(qtText(versions[3]));
}

void frmHalvero::showProductCode(const std::string &text)
{
    ui->txtTessaroProductID->setText(qtText(text));
}

void frmHalvero::showUploadCount(const std::string &text)
{
    ui->txtNTimesNewConfigs->setText(qtText(text));
}

void frmHalvero::setReport(const std::string &text)
{
    m_report = text;
    // The box shows lines; CR LF is what the report is made of.
    ui->txtHalveroData->setPlainText(
        qtText(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void frmHalvero::appendReport(const std::string &text)
{
    setReport(m_report + text);
    ui->txtHalveroData->moveCursor(QTextCursor::End);
}

void frmHalvero::showProgress()
{
    emit progressShowRequested();
}

void frmHalvero::setProgress(int value, int maximum)
{
    emit progressChanged(value, maximum);
}

void frmHalvero::setProgressText(const std::string &text)
{
    emit progressTextChanged(qtText(text));
}

void frmHalvero::hideProgress()
{
    emit progressHideRequested();
}

void frmHalvero::setConnectedCaption(const std::string &text)
{
    emit connectedCaptionChanged(qtText(text));
}

void frmHalvero::imageChanged()
{
    emit imageReplaced();
}

void frmHalvero::hideWindow()
{
    hide();
}

} // namespace orvane
