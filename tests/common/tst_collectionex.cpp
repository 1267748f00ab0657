#include "collectionex.h"
#include "qverror.h"

#include <gtest/gtest.h>

namespace {

QStringList Texts(const CCollectionEx &c)
{
    QStringList out;
    for (const CCollectionEx::Element &e : c.NewEnum())
        out << e.value.toString();
    return out;
}

// The error an operation raises, or none.
template <typename F> std::optional<QvError> ErrorOf(F f)
{
    try {
        f();
    } catch (const QvError &e) {
        return e;
    }
    return std::nullopt;
}

} // namespace

TEST(CCollectionEx, AddRemoveAndCount)
{
    CCollectionEx c;
    EXPECT_EQ(c.Count(), 0);
    c.AddVariant("A");
    c.AddVariant("B");
    c.AddVariant("D");
    c.Remove(2);
    EXPECT_EQ(Texts(c), QStringList({"A", "D"}));
    c.AddVariant("A");
    EXPECT_EQ(c.Count(), 3) << "the same text twice without keys";
    c.Clear();
    EXPECT_EQ(c.Count(), 0);
}

TEST(CCollectionEx, KeysAndInsertionPoints)
{
    CCollectionEx c;
    c.AddVariant("first", "one");
    c.AddVariant("third", "three");
    c.AddVariant("second", "two", "three");
    c.AddVariant("zero", QString(), 1);
    c.AddVariant(42, "answer", QVariant(), "one"); // the second position argument wins
    EXPECT_EQ(Texts(c), QStringList({"zero", "42", "first", "second", "third"}));
    EXPECT_EQ(c.ItemAsString("TWO"), "second") << "keys ignore letter case";
    EXPECT_EQ(c.ItemAsString(2), "42");
    c.Remove("one");
    EXPECT_EQ(Texts(c), QStringList({"zero", "42", "second", "third"}));

    const auto inUse = ErrorOf([&] { c.AddVariant("again", "Two"); });
    ASSERT_TRUE(inUse);
    EXPECT_EQ(inUse->number(), 457);
    const auto noPoint = ErrorOf([&] { c.AddVariant("x", QString(), "nowhere"); });
    ASSERT_TRUE(noPoint);
    EXPECT_EQ(noPoint->number(), 5);
    EXPECT_EQ(c.Count(), 4);
}

TEST(CCollectionEx, FailuresCarryTheSource)
{
    CCollectionEx c;
    c.AddVariant("only");
    for (const QVariant &index : {QVariant(0), QVariant(2), QVariant("missing")}) {
        const auto e = ErrorOf([&] { c.ItemAsString(index); });
        ASSERT_TRUE(e) << qPrintable(index.toString());
        EXPECT_EQ(e->source(), "CCollectionEx");
        EXPECT_EQ(e->number(), index.typeId() == QMetaType::QString ? 5 : 9);
    }
    const auto remove = ErrorOf([&] { c.Remove(5); });
    ASSERT_TRUE(remove);
    EXPECT_EQ(remove->source(), "CCollectionEx");
    const auto notObject = ErrorOf([&] { c.Item(1); });
    ASSERT_TRUE(notObject);
    EXPECT_EQ(notObject->number(), 424);
}

TEST(CCollectionEx, ObjectReferences)
{
    QObject a, b;
    a.setObjectName("a");
    CCollectionEx c;
    c.Add(&a, "A");
    c.Add(&b, QString(), "A");
    EXPECT_EQ(c.Item(2), &a);
    EXPECT_EQ(c.Item("a"), &a);
    EXPECT_EQ(c.Item(1), &b);
    const auto e = ErrorOf([&] { c.ItemAsString(1); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->number(), 13);
}
