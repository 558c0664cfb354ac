#include "editors/ui/PickList.h"

#include "platform/Check.h"

#include <QComboBox>

namespace orvane {

void fillPickList(QWidget &window,
                  std::string_view list,
                  std::span<const std::string_view> items,
                  int initialSelection)
{
    auto *box
        = window.findChild<QComboBox *>(QString::fromUtf8(list.data(), qsizetype(list.size())));
    // A list missing from the form is a programming error; nothing is filled.
    ORVANE_CHECK(box, return );
    for (std::string_view text : items)
        box->addItem(QString::fromUtf8(text.data(), qsizetype(text.size())));
    box->setCurrentIndex(initialSelection);
}

} // namespace orvane
