#include "link/ui/frmShowConnecting.h"
#include "ui_frmShowConnecting.h"

namespace orvane {

frmShowConnecting::frmShowConnecting(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmShowConnecting>())
{
    m_ui->setupUi(this);
}

frmShowConnecting::~frmShowConnecting() = default;

void frmShowConnecting::setCaption(const std::string &text)
{
    m_ui->lblShowConnecting->setText(QString::fromStdString(text));
}

std::string frmShowConnecting::caption() const
{
    return m_ui->lblShowConnecting->text().toStdString();
}

} // namespace orvane
