// The block lists: indexing, reference counting and the owners' deletion.
#include "model/BlockLists.h"
#include "model/PageInfo.h"
#include "model/TextBlock.h"

#include <gtest/gtest.h>

#include <memory>

#include <string>
#include <vector>

namespace kestrum {
namespace {

// A block that notes when it goes.
class NotedBlock : public CTextBlock {
public:
    NotedBlock(std::string name, std::vector<std::string>& log) : CTextBlock(nullptr), name_(std::move(name)), log_(log) {}
    ~NotedBlock() override { log_.push_back(name_); }

private:
    std::string name_;
    std::vector<std::string>& log_;
};

TEST(ModelBlockList, ItemsAreReachedOnlyWithinBounds) {
    CTextBlockArray empty;
    LONG count = -1;
    ASSERT_EQ(empty.GetCount(&count), S_OK);
    EXPECT_EQ(count, 0);

    CTextBlock a(nullptr), b(nullptr);
    CTextBlockArray two;
    two.Add(&a);
    two.Add(&b);
    struct Case {
        CTextBlockArray* list;
        INT index;
    };
    for (const Case& c : {Case{&empty, 0}, Case{&empty, -1}, Case{&two, -1}, Case{&two, 2}, Case{&two, INT32_MAX}}) {
        void* item = &count;
        EXPECT_EQ(c.list->GetItemAt(c.index, &item), E_INVALIDARG) << c.index;
        EXPECT_EQ(item, &count);
    }
    void* item = nullptr;
    ASSERT_EQ(two.GetItemAt(1, &item), S_OK);
    EXPECT_EQ(item, static_cast<ITextBlock*>(&b));
    EXPECT_EQ(two.GetItemAt(0, nullptr), E_POINTER);
    EXPECT_EQ(two.GetCount(nullptr), E_POINTER);
}

TEST(ModelBlockList, AnswersOnlyItsOwnInterfaces) {
    auto* list = new CPicBlockArray;
    IBlockList* handed = nullptr;
    ASSERT_EQ(HandOutList(list, &handed), S_OK);
    void* unknown = nullptr;
    ASSERT_EQ(handed->QueryInterface(IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(unknown, static_cast<IBlockList*>(handed));
    void* other = &unknown;
    EXPECT_EQ(handed->QueryInterface(IID_IDataAdaptor, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(handed->QueryInterface(IID_IBlockList, nullptr), E_POINTER);
    EXPECT_EQ(handed->Release(), 1u);
    EXPECT_EQ(handed->Release(), 0u);
}

TEST(ModelBlockList, LastReleaseDeletesTheListWhichCountsWhileHeld) {
    const long before = ModuleUsage::Count();
    IBlockList* list = nullptr;
    ASSERT_EQ(HandOutList(new CArticleArray, &list), S_OK);
    EXPECT_EQ(ModuleUsage::Count(), before + 1);
    EXPECT_EQ(list->AddRef(), 2u);
    EXPECT_EQ(list->AddRef(), 3u);
    EXPECT_EQ(list->Release(), 2u);
    EXPECT_EQ(list->Release(), 1u);
    EXPECT_EQ(list->Release(), 0u);  // deleted here; the sanitizer run sees no leak
    EXPECT_EQ(ModuleUsage::Count(), before);
}

TEST(ModelBlockList, ReleaseWithoutAReferenceDeletesNothing) {
    // An owner list is never handed out; a stray Release must not free it (had it
    // done so, the list's own deletion below would free it twice).
    auto owner = std::make_unique<CTextBlockArray>();
    EXPECT_EQ(owner->Release(), 0u);
    CTextBlock block(nullptr);
    owner->Add(&block);
    LONG count = 0;
    owner->GetCount(&count);
    EXPECT_EQ(count, 1);
}

TEST(ModelBlockList, DeleteAllGoesInnermostFirst) {
    std::vector<std::string> log;
    auto* inner = new NotedBlock("inner", log);
    inner->m_nLevel = 2;
    inner->m_arrParts.Add(new NotedBlock("a", log));
    inner->m_arrParts.Add(new NotedBlock("b", log));
    auto* outer = new NotedBlock("outer", log);
    outer->m_nLevel = 3;
    outer->m_arrParts.Add(inner);
    outer->m_arrParts.Add(new NotedBlock("c", log));

    CTextBlockArray owner;
    owner.Add(outer);
    owner.Add(new NotedBlock("loose", log));
    owner.DeleteAll();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "inner", "c", "outer", "loose"}));
    EXPECT_TRUE(owner.IsEmpty());
}

}  // namespace
}  // namespace kestrum
