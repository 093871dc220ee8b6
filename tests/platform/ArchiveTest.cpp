#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "ArchiveTestTypes.h"
#include "TestSupport.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

BRISANE_REGISTER_CLASS(ArchNode)
BRISANE_REGISTER_CLASS(ArchLeaf)

namespace {

QImage smallPicture()
{
    QImage image(4, 3, QImage::Format_ARGB32);
    image.fill(QColor(10, 200, 30, 255));
    image.setPixelColor(1, 2, QColor(255, 0, 0, 128));
    return image;
}

std::shared_ptr<ArchNode> decodeRoot(const QByteArray& data)
{
    auto result = KeyedUnarchiver::unarchive(data);
    EXPECT_TRUE(result.root.has_value()) << result.error.toStdString();
    return result.root ? result.root->objectAs<ArchNode>() : nullptr;
}

}  // namespace

TEST(Archive, GraphRoundTripKeepsIdentityLinksAndValues)
{
    auto root = std::make_shared<ArchNode>();
    auto shared = std::make_shared<ArchNode>();
    shared->setName("shared");
    shared->setParent(root);
    root->setName("root");
    root->setCount(-42);
    root->setRatio(0.1);
    root->setFlag(false);
    root->setFrame(QRectF(1.5, -2, 300, 40.25));
    root->setSize(QSizeF(854, 480));
    root->setPoint(QPointF(-3, 9));
    root->setChild(shared);
    root->setOther(shared);
    root->setChildren({shared, std::make_shared<ArchNode>()});
    root->setTags({"a", "ü", ""});
    root->setInfo({{"k", Value(3)}, {"nested", Value(Value::Array{Value("x"), Value(2.5)})}});
    root->setPicture(smallPicture());
    root->setColor(QColor(255, 128, 0, 64));
    root->setShadow(Shadow{QPointF(2, -3), 4.5, QColor(0, 0, 0, 200)});
    QFont font(QStringLiteral("DejaVu Sans"), 17);
    font.setBold(true);
    root->setFont(font);
    root->setNote(QString());  // nil

    auto back = decodeRoot(KeyedArchiver::archivedData(Value(root)));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->name(), "root");
    EXPECT_EQ(back->count(), -42);
    EXPECT_DOUBLE_EQ(back->ratio(), 0.1);
    EXPECT_FALSE(back->flag());
    EXPECT_EQ(back->frame(), QRectF(1.5, -2, 300, 40.25));
    EXPECT_EQ(back->size(), QSizeF(854, 480));
    EXPECT_EQ(back->point(), QPointF(-3, 9));
    ASSERT_TRUE(back->child());
    EXPECT_EQ(back->child(), back->other()) << "a shared child comes back as one object";
    EXPECT_EQ(back->children().size(), 2);
    EXPECT_EQ(back->children().first(), back->child());
    EXPECT_EQ(back->child()->parent(), back) << "the back-link points at the restored parent";
    EXPECT_EQ(back->tags(), QStringList({"a", "ü", ""}));
    EXPECT_EQ(back->info().value("k").toInt(), 3);
    EXPECT_EQ(back->info().value("nested").array().at(1).toDouble(), 2.5);
    EXPECT_EQ(back->picture().convertToFormat(QImage::Format_ARGB32), smallPicture());
    EXPECT_EQ(back->color().rgba(), QColor(255, 128, 0, 64).rgba());
    EXPECT_EQ(back->shadow().offset, QPointF(2, -3));
    EXPECT_EQ(back->shadow().blurRadius, 4.5);
    EXPECT_EQ(back->font().family(), font.family());
    EXPECT_EQ(back->font().pointSize(), 17);
    EXPECT_TRUE(back->font().bold());
    EXPECT_TRUE(back->note().isNull()) << "nil comes back nil, not as the default";
}

TEST(Archive, KeysMissingFromAnOlderArchiveKeepTheirDefaults)
{
    auto old = std::make_shared<ArchNodeOld>();
    old->setName("old");
    old->setCount(3);
    old->setRatio(99);  // not in the old list: never written
    // Record the older writer under the current class name.
    ClassRegistry::add(QStringLiteral("ArchNode"), typeid(ArchNodeOld),
                       [] { return std::make_shared<ArchNode>(); });
    auto back = decodeRoot(KeyedArchiver::archivedData(Value(old)));
    ClassRegistry::add<ArchNode>(QStringLiteral("ArchNode"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->name(), "old");
    EXPECT_EQ(back->count(), 3);
    EXPECT_EQ(back->ratio(), 1.5);
    EXPECT_EQ(back->note(), "note default");
}

TEST(Archive, SubclassListReplacesTheInheritedOne)
{
    auto leaf = std::make_shared<ArchLeaf>();
    leaf->setName("never archived");
    leaf->setCount(11);
    auto back = KeyedUnarchiver::unarchive(KeyedArchiver::archivedData(Value(leaf)));
    ASSERT_TRUE(back.root);
    auto restored = back.root->objectAs<ArchLeaf>();
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->name(), "default");
    EXPECT_EQ(restored->count(), 11);
}

TEST(Archive, WrongKindsLeaveDefaultsAndUnknownClassesDecodeToNull)
{
    auto root = std::make_shared<ArchNode>();
    QByteArray data = KeyedArchiver::archivedData(Value(Value::Dictionary{
        {"node", Value(root)}, {"stranger", Value(std::make_shared<ArchLeaf>())}}));
    // Rename the stranger's class to one nobody knows (same length keeps the CBOR valid).
    ASSERT_TRUE(data.contains("ArchLeaf"));
    data.replace("ArchLeaf", "ArchLeaX");
    auto result = KeyedUnarchiver::unarchive(data);
    ASSERT_TRUE(result.root);
    EXPECT_TRUE(result.root->dictionary().value("stranger").isNull());
    EXPECT_TRUE(result.root->dictionary().value("node").objectAs<ArchNode>());

    auto node = std::make_shared<ArchNode>();
    EXPECT_FALSE(node->setValueForKey(Value("twelve"), "count"));
    EXPECT_FALSE(node->setValueForKey(Value(5), "frame"));
    EXPECT_FALSE(node->setValueForKey(Value(Value::Array{Value(1)}), "children"));
    EXPECT_FALSE(node->setValueForKey(Value(std::make_shared<CodingBase>()), "child"));
    EXPECT_FALSE(node->setValueForKey(Value(1), "noSuchKey"));
    EXPECT_EQ(node->count(), 7);
    EXPECT_TRUE(node->setValueForKey(Value(2.9), "count")) << "numbers unbox to scalars";
    EXPECT_EQ(node->count(), 2);
}

TEST(Archive, FileRoundTripAndInPlaceReload)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("settings.data");
    auto saved = std::make_shared<ArchNode>();
    saved->setName("saved");
    saved->setCount(5);
    ASSERT_TRUE(saved->writeToFile(path, true));

    auto target = std::make_shared<ArchLeaf>();  // reloads only the keys of its own list
    target->setName("kept");
    target->setNote("kept too");
    ASSERT_TRUE(target->initWithContentsOfFile(path));
    EXPECT_EQ(target->count(), 5);
    EXPECT_EQ(target->name(), "kept");
    EXPECT_EQ(target->note(), "note default") << "present keys are set, nil or not";

    auto untouched = std::make_shared<ArchNode>();
    untouched->setCount(99);
    EXPECT_FALSE(untouched->initWithContentsOfFile(dir.filePath("missing.data")));
    EXPECT_EQ(untouched->count(), 99);
}

TEST(Archive, FailedWriteKeepsTheOldFile)
{
    auto dir = testsupport::makeTempDir();
    auto node = std::make_shared<ArchNode>();
    EXPECT_FALSE(node->writeToFile(dir.filePath("no/such/folder/x.data"), true));

    const QString path = dir.filePath("x.data");
    node->setCount(1);
    ASSERT_TRUE(node->writeToFile(path, true));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    node->setCount(2);
    const bool rewritten = node->writeToFile(path, true);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    auto reread = std::make_shared<ArchNode>();
    ASSERT_TRUE(reread->initWithContentsOfFile(path));
    // As root the folder stays writable; either way the file is whole.
    EXPECT_EQ(reread->count(), rewritten ? 2 : 1);
}

TEST(Archive, DamagedArchivesAreRejectedWithoutACrash)
{
    auto root = std::make_shared<ArchNode>();
    root->setChild(std::make_shared<ArchNode>());
    root->child()->setParent(root);
    root->setPicture(smallPicture());
    const QByteArray good = KeyedArchiver::archivedData(Value(root));

    const QList<QByteArray> bad = {
        QByteArray(),
        QByteArray("garbage"),
        good.left(good.size() / 2),
        QByteArray::fromHex("a0"),  // an empty map
    };
    for (const auto& data : bad) {
        EXPECT_FALSE(KeyedUnarchiver::unarchive(data).root.has_value());
        auto node = std::make_shared<ArchNode>();
        EXPECT_FALSE(KeyedUnarchiver::unarchiveInto(data, *node));
        EXPECT_EQ(node->count(), 7);
    }

    // Mutations of a good archive: whatever they decode to, nothing crashes.
    QRandomGenerator random(1234);
    for (int round = 0; round < 3000; ++round) {
        QByteArray mutated = good;
        const int edits = 1 + random.bounded(4);
        for (int e = 0; e < edits; ++e) {
            const int at = random.bounded(mutated.size());
            switch (random.bounded(3)) {
            case 0:
                mutated[at] = static_cast<char>(random.bounded(256));
                break;
            case 1:
                mutated.remove(at, 1 + random.bounded(8));
                break;
            default:
                mutated.insert(at, static_cast<char>(random.bounded(256)));
                break;
            }
            if (mutated.isEmpty()) {
                break;
            }
        }
        auto result = KeyedUnarchiver::unarchive(mutated);
        if (result.root) {
            if (auto node = result.root->objectAs<ArchNode>()) {
                (void)node->children().size();
            }
        }
    }
}

TEST(Archive, DeepNestingIsRejected)
{
    Value nested;
    for (int i = 0; i < 2000; ++i) {
        nested = Value(Value::Array{nested});
    }
    // Writing is ours and trusted; reading must refuse what is too deep.
    const QByteArray data = KeyedArchiver::archivedData(nested);
    auto result = KeyedUnarchiver::unarchive(data);
    EXPECT_FALSE(result.root.has_value());

    // A chain of objects each holding the next.
    auto head = std::make_shared<ArchNode>();
    auto tail = head;
    for (int i = 0; i < 2000; ++i) {
        auto next = std::make_shared<ArchNode>();
        tail->setChild(next);
        tail = next;
    }
    EXPECT_FALSE(KeyedUnarchiver::unarchive(KeyedArchiver::archivedData(Value(head))).root);
    // Break the chain iteratively so that destruction does not recurse 2000 deep.
    while (head) {
        auto next = head->child();
        head->setChild(nullptr);
        head = next;
    }
}
