// The numbered orders of text and picture block lists that the layout steps ask for.
#pragma once

namespace kestrum {

class CTextBlockArray;
class CPicBlockArray;

enum TextOrder : int {
    kTextById = 0,           // block number ascending
    kTextByRows = 1,         // top, then left
    kTextByColumns = 2,      // left, then top
    kTextColumnReading = 8,  // columns left to right, top to bottom within a column
    kTextBySizeDown = 11,    // font size descending
    // Every other mode has no order: each comparison answers "after".
};

enum PicOrder : int {
    kPicById = 0,    // block number ascending
    kPicByRows = 1,  // top, then left
};

// Sorts in place. Some orders are not consistent (column reading is not transitive
// for overlapping blocks); the sort stays inside the list whatever they answer.
void SortTextBlocks(CTextBlockArray& list, int mode);
void SortPicBlocks(CPicBlockArray& list, int mode);

}  // namespace kestrum
