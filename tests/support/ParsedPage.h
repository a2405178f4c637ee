// A test that writes a PostScript page and reads its body into the reader's records.
#pragma once

#include "psreader/PSParser.h"
#include "tests/support/PsPageWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrum::testing {

class ParsedPageTest : public ::testing::Test {
protected:
    const BlockList& Parse(const PsPageWriter& page) {
        EXPECT_TRUE(reader_.Open(dir_.Write("page.ps", page.bytes())));
        reader_.ParsePage();
        return reader_.m_arrBlocks;
    }

    TempDir dir_;
    CPSParser reader_;
};

}  // namespace kestrum::testing
