#include "app/ui/frmHelp.h"
#include "ui_frmHelp.h"

#include <QFile>
#include <QLineEdit>
#include <QTreeWidgetItem>
#include <QUrl>

#include <algorithm>

namespace orvane {

namespace {

constexpr const char *kGuideRoot = "qrc:/guide/";
constexpr int kPageRole = Qt::UserRole;
constexpr int kAnchorRole = Qt::UserRole + 1;
constexpr int kContentsWidth = 280;
constexpr int kPageWidth = 700;

std::string guideFile(const std::string &page)
{
    QFile file(QStringLiteral(":/guide/") + QString::fromStdString(page));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

} // namespace

frmHelp::frmHelp(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmHelp>())
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    m_ui->splitHelp->setSizes({kContentsWidth, kPageWidth});
    m_ui->lblSearchResult->hide();
    connect(m_ui->txtSearch, &QLineEdit::textChanged, this, &frmHelp::search);
    connect(m_ui->tvwContents, &QTreeWidget::itemClicked, this, &frmHelp::itemChosen);
    connect(m_ui->tvwContents, &QTreeWidget::itemActivated, this, &frmHelp::itemChosen);
    loadGuide();
    showContents();
    showPage(QString::fromUtf8(kGuideContentsPage));
}

frmHelp::~frmHelp() = default;

QString frmHelp::guideUrl(const QString &page)
{
    return QString::fromUtf8(kGuideRoot) + page;
}

void frmHelp::showPage(const QString &page, const QString &anchor)
{
    QUrl url(guideUrl(page));
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    m_ui->txtGuide->setSource(url);
}

void frmHelp::loadGuide()
{
    for (const std::string &page : guidePages(guideFile(kGuideContentsPage))) {
        const std::vector<GuideSection> sections = guideSections(page, guideFile(page));
        m_sections.insert(m_sections.end(), sections.begin(), sections.end());
    }
}

QTreeWidgetItem *frmHelp::sectionItem(const GuideSection &section) const
{
    auto *item = new QTreeWidgetItem({QString::fromStdString(section.title)});
    item->setData(0, kPageRole, QString::fromStdString(section.page));
    item->setData(0, kAnchorRole, QString::fromStdString(section.anchor));
    return item;
}

void frmHelp::showContents()
{
    m_ui->tvwContents->clear();
    // Each page's title, its sections below it, their subsections below them.
    QTreeWidgetItem *levels[4] = {};
    for (const GuideSection &section : m_sections) {
        QTreeWidgetItem *item = sectionItem(section);
        const int level = std::clamp(section.level, 1, 3);
        QTreeWidgetItem *parent = level > 1 ? levels[level - 1] : nullptr;
        if (parent)
            parent->addChild(item);
        else
            m_ui->tvwContents->addTopLevelItem(item);
        levels[level] = item;
        for (int deeper = level + 1; deeper <= 3; ++deeper)
            levels[deeper] = nullptr;
    }
    m_ui->tvwContents->expandToDepth(0);
}

void frmHelp::search(const QString &query)
{
    if (query.trimmed().isEmpty()) {
        m_ui->lblSearchResult->hide();
        showContents();
        return;
    }
    m_ui->tvwContents->clear();
    const std::vector<size_t> found = searchGuide(m_sections, query.toStdString());
    for (size_t index : found) {
        const GuideSection &section = m_sections[index];
        QTreeWidgetItem *item = sectionItem(section);
        // A section's title alone does not say which page it is on.
        const auto page = std::find_if(m_sections.begin(), m_sections.end(), [&](const auto &s) {
            return s.page == section.page && s.level == 1;
        });
        if (section.level > 1 && page != m_sections.end())
            item->setText(0,
                          item->text(0)
                              + QStringLiteral(" (%1)").arg(QString::fromStdString(page->title)));
        m_ui->tvwContents->addTopLevelItem(item);
    }
    m_ui->lblSearchResult->setText(found.empty() ? tr("No section holds all these words.")
                                   : found.size() == 1
                                       ? tr("1 section found.")
                                       : tr("%1 sections found.").arg(found.size()));
    m_ui->lblSearchResult->show();
}

void frmHelp::itemChosen(QTreeWidgetItem *item)
{
    if (!item)
        return;
    showPage(item->data(0, kPageRole).toString(), item->data(0, kAnchorRole).toString());
}

} // namespace orvane
