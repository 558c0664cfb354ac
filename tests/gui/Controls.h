#pragma once

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

namespace orvane::test {

// The control named `objectName` among the children of `window`, found as a
// user's tool finds it. A missing control fails the test and answers a
// hidden stand-in, so the test goes on to report what else is wrong.
template<class W>
W &control(QWidget &window, const char *objectName)
{
    if (W *found = window.findChild<W *>(QString::fromLatin1(objectName)))
        return *found;
    ADD_FAILURE() << "no control " << objectName << " in " << window.objectName().toStdString();
    auto *standIn = new W;
    standIn->setParent(&window);
    return *standIn;
}

} // namespace orvane::test
