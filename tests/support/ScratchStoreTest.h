#pragma once

#include "StoreFixture.h"

#include <QObject>
#include <QTest>
#include <memory>

// The base of the tests that drive the store: each test function gets a
// scratch folder of its own, made the current folder, and a fresh store with
// its fakes; both go before the next.
class ScratchStoreTest : public QObject
{
    Q_OBJECT
protected Q_SLOTS:
    void init()
    {
        scratch_ = std::make_unique<StoreFixture::ScratchFolder>();
        QVERIFY(scratch_->IsValid());
        h_ = std::make_unique<StoreFixture::StoreHarness>();
    }
    // The store goes first: it may still hold a file in the folder.
    void cleanup()
    {
        h_.reset();
        scratch_.reset();
    }

protected:
    std::unique_ptr<StoreFixture::ScratchFolder> scratch_;
    std::unique_ptr<StoreFixture::StoreHarness> h_;
};
