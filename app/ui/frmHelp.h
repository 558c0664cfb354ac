#pragma once

#include "app/GuideIndex.h"

#include <QDialog>

#include <memory>
#include <vector>

class QTreeWidgetItem;
class QUrl;

namespace Ui {
class frmHelp;
}

namespace orvane {

// "Orvane Help": the user's guide, compiled into the program so that it
// works offline, with its contents and a search over its sections. Not
// modal; the main window keeps working beside it.
class frmHelp : public QDialog
{
    Q_OBJECT
public:
    explicit frmHelp(QWidget *parent = nullptr);
    ~frmHelp() override;

    // Where the guide's files are, for the browser and the tests.
    static QString guideUrl(const QString &page);
    // A page of the guide, optionally at a heading's anchor.
    void showPage(const QString &page, const QString &anchor = {});

private:
    void loadGuide();
    void showContents();
    void search(const QString &query);
    void itemChosen(QTreeWidgetItem *item);
    QTreeWidgetItem *sectionItem(const GuideSection &section) const;

    std::unique_ptr<Ui::frmHelp> m_ui;
    std::vector<GuideSection> m_sections;
};

} // namespace orvane
