#pragma once
// Small archived classes that exercise every value kind of the archive.

#include <QImage>
#include <memory>

#include "platform/ClassRegistry.h"
#include "platform/CodingBase.h"

class ArchNode : public CodingBase {
public:
    QString name() const { return m_name; }
    void setName(const QString& v) { m_name = v; }
    int count() const { return m_count; }
    void setCount(int v) { m_count = v; }
    double ratio() const { return m_ratio; }
    void setRatio(double v) { m_ratio = v; }
    bool flag() const { return m_flag; }
    void setFlag(bool v) { m_flag = v; }
    QRectF frame() const { return m_frame; }
    void setFrame(const QRectF& v) { m_frame = v; }
    QSizeF size() const { return m_size; }
    void setSize(const QSizeF& v) { m_size = v; }
    QPointF point() const { return m_point; }
    void setPoint(const QPointF& v) { m_point = v; }
    std::shared_ptr<ArchNode> child() const { return m_child; }
    void setChild(const std::shared_ptr<ArchNode>& v) { m_child = v; }
    std::shared_ptr<ArchNode> other() const { return m_other; }
    void setOther(const std::shared_ptr<ArchNode>& v) { m_other = v; }
    std::shared_ptr<ArchNode> parent() const { return m_parent.lock(); }
    void setParent(const std::shared_ptr<ArchNode>& v) { m_parent = v; }
    QList<std::shared_ptr<ArchNode>> children() const { return m_children; }
    void setChildren(const QList<std::shared_ptr<ArchNode>>& v) { m_children = v; }
    QStringList tags() const { return m_tags; }
    void setTags(const QStringList& v) { m_tags = v; }
    Value::Dictionary info() const { return m_info; }
    void setInfo(const Value::Dictionary& v) { m_info = v; }
    QImage picture() const { return m_picture; }
    void setPicture(const QImage& v) { m_picture = v; }
    QColor color() const { return m_color; }
    void setColor(const QColor& v) { m_color = v; }
    QFont font() const { return m_font; }
    void setFont(const QFont& v) { m_font = v; }
    Shadow shadow() const { return m_shadow; }
    void setShadow(const Shadow& v) { m_shadow = v; }
    QString note() const { return m_note; }
    void setNote(const QString& v) { m_note = v; }

    static const PropertyTable& properties()
    {
        static const PropertyTable table = PropertyTable(CodingBase::properties())
                                               .add("name", &ArchNode::name, &ArchNode::setName)
                                               .add("count", &ArchNode::count, &ArchNode::setCount)
                                               .add("ratio", &ArchNode::ratio, &ArchNode::setRatio)
                                               .add("flag", &ArchNode::flag, &ArchNode::setFlag)
                                               .add("frame", &ArchNode::frame, &ArchNode::setFrame)
                                               .add("size", &ArchNode::size, &ArchNode::setSize)
                                               .add("point", &ArchNode::point, &ArchNode::setPoint)
                                               .add("child", &ArchNode::child, &ArchNode::setChild)
                                               .add("other", &ArchNode::other, &ArchNode::setOther)
                                               .add("parent", &ArchNode::parent, &ArchNode::setParent)
                                               .add("children", &ArchNode::children,
                                                    &ArchNode::setChildren)
                                               .add("tags", &ArchNode::tags, &ArchNode::setTags)
                                               .add("info", &ArchNode::info, &ArchNode::setInfo)
                                               .add("picture", &ArchNode::picture,
                                                    &ArchNode::setPicture)
                                               .add("color", &ArchNode::color, &ArchNode::setColor)
                                               .add("font", &ArchNode::font, &ArchNode::setFont)
                                               .add("shadow", &ArchNode::shadow, &ArchNode::setShadow)
                                               .add("note", &ArchNode::note, &ArchNode::setNote);
        return table;
    }
    const PropertyTable& propertyTable() const override { return properties(); }
    QStringList allCoderKeys() const override
    {
        return {"name",  "count",    "ratio", "flag",    "frame", "size",
                "point", "child",    "other", "parent",  "children", "tags",
                "info",  "picture",  "color", "font",    "shadow", "note"};
    }

private:
    QString m_name = QStringLiteral("default");
    int m_count = 7;
    double m_ratio = 1.5;
    bool m_flag = true;
    QRectF m_frame;
    QSizeF m_size;
    QPointF m_point;
    std::shared_ptr<ArchNode> m_child;
    std::shared_ptr<ArchNode> m_other;
    std::weak_ptr<ArchNode> m_parent;
    QList<std::shared_ptr<ArchNode>> m_children;
    QStringList m_tags;
    Value::Dictionary m_info;
    QImage m_picture;
    QColor m_color;
    QFont m_font;
    Shadow m_shadow;
    QString m_note = QStringLiteral("note default");
};

// A subclass whose list replaces the inherited one and leaves out "name".
class ArchLeaf : public ArchNode {
public:
    QStringList allCoderKeys() const override { return {"count", "note"}; }
};

// The same class name as ArchNode but a shorter list: an "older" writer.
class ArchNodeOld : public ArchNode {
public:
    QStringList allCoderKeys() const override { return {"name", "count"}; }
};
