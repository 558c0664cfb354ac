#pragma once

#include "app/ImageComparison.h"
#include "transfer/UploadReview.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmComparison;
}

namespace orvane {

// The differences between two images in words, one branch per category.
// Before an upload it asks Upload or Cancel (modal: nothing is written
// while it is open); on its own it only shows them, with a Close button.
class frmComparison : public QDialog, public UploadReviewView
{
    Q_OBJECT
public:
    explicit frmComparison(QWidget *parent = nullptr);
    ~frmComparison() override;

    // UploadReviewView
    bool confirmUpload(const Comparison &comparison) override;
    bool confirmRestore(const Comparison &comparison) override;
    bool uploadUnchanged() override;

    // Shows a comparison made on its own: `heading` above the differences,
    // or `sameText` when there are none.
    void showReport(const QString &title,
                    const QString &heading,
                    const QString &sameText,
                    const DifferenceReport &report);

private:
    enum class Buttons { UploadOrCancel, UploadAnywayOrCancel, Close };
    // Asks Upload (or Restore) or Cancel under `title` and `heading`.
    bool confirmWrite(const char *title,
                      const char *heading,
                      const char *write,
                      const Comparison &comparison);
    void fill(const QString &heading, const DifferenceReport &report);
    void showButtons(Buttons buttons);

    std::unique_ptr<Ui::frmComparison> m_ui;
};

inline constexpr const char *kUploadReviewTitle = "Upload Display Configurations To Orvane";
inline constexpr const char *kUploadChangesHeading
    = "Uploading will change these settings in the Orvane:";
inline constexpr const char *kRestoreChangesHeading
    = "Restoring will put these back in the Orvane as the copy holds them:";
inline constexpr const char *kUploadUnchangedHeading
    = "The Orvane already holds everything this upload would write, so nothing needs to be "
      "uploaded.";

} // namespace orvane
