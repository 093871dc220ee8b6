#include <gtest/gtest.h>
#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

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

// A receiver whose every value differs from the archived ones.
std::shared_ptr<ArchNode> distinctiveNode()
{
    auto node = std::make_shared<ArchNode>();
    node->setName("kept");
    node->setCount(-1);
    node->setTags({"kept"});
    node->setChild(std::make_shared<ArchNode>());
    node->setChildren({std::make_shared<ArchNode>(), std::make_shared<ArchNode>()});
    return node;
}

void expectNoNullChildren(const ArchNode& node)
{
    for (const auto& child : node.children()) {
        ASSERT_TRUE(child) << "a null in an object list";
    }
}

// One to four random byte changes, removals or insertions.
QByteArray mutate(const QByteArray& good, QRandomGenerator& random)
{
    return testsupport::mutateBytes(good, random, 4, 8);
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
    auto saved = std::make_shared<ArchLeaf>();
    saved->setName("never archived");
    saved->setCount(5);
    ASSERT_TRUE(saved->writeToFile(path, true));

    auto target = std::make_shared<ArchLeaf>();  // reloads only the keys of its own list
    target->setName("kept");
    target->setNote("replaced");
    ASSERT_TRUE(target->initWithContentsOfFile(path));
    EXPECT_EQ(target->count(), 5);
    EXPECT_EQ(target->name(), "kept");
    EXPECT_EQ(target->note(), "note default") << "present keys are set, nil or not";

    auto untouched = std::make_shared<ArchNode>();
    untouched->setCount(99);
    EXPECT_FALSE(untouched->initWithContentsOfFile(dir.filePath("missing.data")));
    EXPECT_EQ(untouched->count(), 99);
}

// A file holding another class (a settings file opened as something else)
// is refused with both class names, and the receiver keeps its values.
TEST(Archive, ARootOfAnotherClassIsRefusedNamingBoth)
{
    auto node = std::make_shared<ArchNode>();
    node->setCount(5);
    auto leaf = std::make_shared<ArchLeaf>();
    leaf->setCount(42);
    QString error;
    EXPECT_FALSE(
        KeyedUnarchiver::unarchiveInto(KeyedArchiver::archivedData(Value(node)), *leaf, &error));
    EXPECT_TRUE(error.contains("ArchNode") && error.contains("ArchLeaf")) << error.toStdString();
    EXPECT_EQ(leaf->count(), 42);

    // A root that is no object at all.
    EXPECT_FALSE(
        KeyedUnarchiver::unarchiveInto(KeyedArchiver::archivedData(Value("text")), *leaf, &error));
    EXPECT_EQ(leaf->count(), 42);
}

TEST(Archive, FailedWriteKeepsTheOldFile)
{
    auto dir = testsupport::makeTempDir();
    auto node = std::make_shared<ArchNode>();
    EXPECT_FALSE(node->writeToFile(dir.filePath("no/such/folder/x.data"), true));

    const QString path = dir.filePath("x.data");
    node->setCount(1);
    ASSERT_TRUE(node->writeToFile(path, true));

    // Failures that no permission lifts (the test may run as root): a path
    // that is a folder, and a path below a file.
    const QString folder = dir.filePath("busy.data");
    ASSERT_TRUE(QDir().mkpath(folder + "/inside"));
    node->setCount(2);
    EXPECT_FALSE(node->writeToFile(folder, true));
    EXPECT_FALSE(node->writeToFile(path + "/below", true));
    EXPECT_TRUE(QFileInfo(folder + "/inside").isDir()) << "the folder is left as it was";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"x.data"})
        << "no half-written file is left behind";

    auto reread = std::make_shared<ArchNode>();
    ASSERT_TRUE(reread->initWithContentsOfFile(path));
    EXPECT_EQ(reread->count(), 1);
}

TEST(Archive, DamagedArchivesAreRejectedWithoutACrash)
{
    auto root = std::make_shared<ArchNode>();
    root->setName("archived");
    root->setChild(std::make_shared<ArchNode>());
    root->child()->setParent(root);
    root->setChildren({root->child(), std::make_shared<ArchNode>(), std::make_shared<ArchNode>()});
    root->setTags({"a", "b"});
    root->setPicture(smallPicture());
    const QByteArray good = KeyedArchiver::archivedData(Value(root));

    const QList<QByteArray> bad = {
        QByteArray(), QByteArray("garbage"), good.left(good.size() / 2),
        QByteArray::fromHex("a0"),  // an empty map
    };
    for (const auto& data : bad) {
        EXPECT_FALSE(KeyedUnarchiver::unarchive(data).root.has_value());
        auto node = std::make_shared<ArchNode>();
        EXPECT_FALSE(KeyedUnarchiver::unarchiveInto(data, *node));
        EXPECT_EQ(node->count(), 7);
    }

    // Mutations of a good archive: whatever they decode to, nothing crashes,
    // no object list holds a null, and a refused archive leaves the receiver
    // exactly as it was.
    QRandomGenerator random(1234);
    int refused = 0;
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        const QByteArray mutated = mutate(good, random);
        auto result = KeyedUnarchiver::unarchive(mutated);
        if (result.root) {
            if (auto node = result.root->objectAs<ArchNode>()) {
                expectNoNullChildren(*node);
            }
        }
        auto receiver = distinctiveNode();
        const QByteArray before = KeyedArchiver::archivedData(Value(receiver));
        if (KeyedUnarchiver::unarchiveInto(mutated, *receiver)) {
            ++loaded;
            expectNoNullChildren(*receiver);
        } else {
            ++refused;
            ASSERT_EQ(KeyedArchiver::archivedData(Value(receiver)), before)
                << "round " << round << ": a refused archive changed the receiver";
        }
    }
    EXPECT_GT(refused, 100);
    EXPECT_GT(loaded, 100);
}

// An archive damaged half-way (a reference past the object table in a key
// after "name") is refused before any key is set.
TEST(Archive, ALoadDamagedHalfWayChangesNothing)
{
    auto root = std::make_shared<ArchNode>();
    root->setName("from the file");
    root->setChildren({std::make_shared<ArchNode>()});
    QCborMap document = QCborValue::fromCbor(KeyedArchiver::archivedData(Value(root))).toMap();
    QCborArray objects = document.value("objects").toArray();
    const qint64 rootIndex = document.value("root").toMap().value("v").toInteger();
    QCborMap rootObject = objects.at(rootIndex).toMap();
    QCborMap keys = rootObject.value("keys").toMap();
    QCborMap reference;
    reference.insert(QStringLiteral("$t"), QStringLiteral("ref"));
    reference.insert(QStringLiteral("v"), 9999);
    keys.insert(QStringLiteral("children"), QCborArray{reference});
    rootObject.insert(QStringLiteral("keys"), keys);
    objects[rootIndex] = rootObject;
    document.insert(QStringLiteral("objects"), objects);

    auto receiver = distinctiveNode();
    const auto children = receiver->children();
    QString error;
    EXPECT_FALSE(KeyedUnarchiver::unarchiveInto(QCborValue(document).toCbor(), *receiver, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(receiver->name(), "kept") << "a key before the damage was set";
    EXPECT_EQ(receiver->children(), children);
}

// Elements of an object list that are null, of an unknown class or of
// another class are left out, never handed on as null.
TEST(Archive, ObjectListsLeaveOutMissingElements)
{
    auto root = std::make_shared<ArchNode>();
    auto first = std::make_shared<ArchNode>();
    auto stranger = std::make_shared<ArchLeaf>();
    auto last = std::make_shared<ArchNode>();
    first->setName("first");
    last->setName("last");
    root->setChildren({first, stranger, last});
    QByteArray data = KeyedArchiver::archivedData(Value(root));
    ASSERT_TRUE(data.contains("ArchLeaf"));
    data.replace("ArchLeaf", "ArchLeaX");  // an unknown class
    auto back = decodeRoot(data);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->children().size(), 2);
    EXPECT_EQ(back->children()[0]->name(), "first");
    EXPECT_EQ(back->children()[1]->name(), "last");

    auto node = std::make_shared<ArchNode>();
    EXPECT_TRUE(node->setValueForKey(
        Value(Value::Array{Value(), Value(std::make_shared<CodingBase>()), Value(first)}),
        "children"));
    EXPECT_EQ(node->children(), (QList<std::shared_ptr<ArchNode>>{first}));
}

TEST(Archive, ArchivesPastTheDecodeBudgetAreRefused)
{
    // Many small values: refused before they are built.
    Value::Array many;
    many.reserve(KeyedUnarchiver::MaximumValues + 10);
    for (qsizetype i = 0; i < KeyedUnarchiver::MaximumValues + 10; ++i) {
        many.append(Value(static_cast<qint64>(i & 7)));
    }
    auto node = std::make_shared<ArchNode>();
    node->setInfo({{"many", Value(many)}});
    const QByteArray data = KeyedArchiver::archivedData(Value(node));
    auto result = KeyedUnarchiver::unarchive(data);
    EXPECT_FALSE(result.root.has_value());
    EXPECT_EQ(result.error, "the archive is too large");
    auto receiver = distinctiveNode();
    QString error;
    EXPECT_FALSE(KeyedUnarchiver::unarchiveInto(data, *receiver, &error));
    EXPECT_EQ(error, "the archive is too large");
    EXPECT_TRUE(receiver->info().isEmpty());

    // Within the budget the same shape loads.
    many.resize(100000);
    node->setInfo({{"many", Value(many)}});
    auto back = decodeRoot(KeyedArchiver::archivedData(Value(node)));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->info().value("many").array().size(), 100000);
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
