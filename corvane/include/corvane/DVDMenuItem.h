#pragma once
// Corvane's own menu page element, built by the template store. It draws its
// picture at a media time: a text element its text, a button its picture, a
// video element the title's video (or its still picture) cut to shape by the
// frame's mask and framed by the frame picture. Frames are canvas points,
// origin bottom-left, y up.

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <memory>
#include <optional>

#include "corvane/DVDMenuElement.h"
#include "platform/Shadow.h"

class DVDLibraryButtonResource;
class DVDLibraryFrameResource;
class DVDMenuItemTextSource;

class DVDMenuItem : public DVDMenuElement {
public:
    // The level at or below which an element is drawn behind the page background.
    static constexpr int behindLevel = -100;

    // DVDMenuElement
    double rotation() const override { return m_rotation; }
    int level() const override { return m_level; }
    bool isValid() const override;
    bool highlightModeEmptyInDVD() const override;
    bool isStaticItem() const override;
    bool isTextItem() const override;
    bool isButtonItem() const override;
    QRectF frame() const override { return m_frame; }
    QImage imageAtTime(qint64 time) override;
    std::shared_ptr<Object> jump() const override { return m_jump.lock(); }
    std::optional<Shadow> shadow() const override { return m_shadow; }
    double roundValue() const override { return m_roundValue; }

    void setRotation(double rotation) { m_rotation = rotation; }
    void setLevel(int level) { m_level = level; }
    void setFrame(const QRectF& frame) { m_frame = frame; }
    // The target is not owned.
    bool setJump(const ObjectPtr& target) override
    {
        m_jump = target;
        return true;
    }
    void setShadow(const std::optional<Shadow>& shadow) { m_shadow = shadow; }
    void setRoundValue(double roundValue) { m_roundValue = roundValue; }

    bool disabled() const { return m_disabled; }
    void setDisabled(bool disabled) { m_disabled = disabled; }
    bool is_text_item() const { return m_isTextItem; }
    void setIs_text_item(bool value) { m_isTextItem = value; }
    void useTextSource(bool use) { m_isTextItem = use; }
    std::shared_ptr<DVDLibraryFrameResource> frameResource() const { return m_frameResource; }
    void setFrameResource(const std::shared_ptr<DVDLibraryFrameResource>& resource);
    std::shared_ptr<DVDLibraryButtonResource> buttonResource() const { return m_buttonResource; }
    void setButtonResource(const std::shared_ptr<DVDLibraryButtonResource>& resource);
    std::shared_ptr<DVDMenuItemTextSource> textSource() const { return m_textSource; }
    void setTextSource(const std::shared_ptr<DVDMenuItemTextSource>& source);
    bool useFrame() const { return m_useFrame; }
    void setUseFrame(bool useFrame) { m_useFrame = useFrame; }
    bool useStaticImage() const { return m_useStaticImage; }
    void setUseStaticImage(bool use) { m_useStaticImage = use; }
    QImage menuStaticImage() const { return m_menuStaticImage; }
    void setMenuStaticImage(const QImage& image) { m_menuStaticImage = image; }

    // The frame in rectangle text form, "{{x, y}, {w, h}}".
    QString frameObject() const;
    void setFrameObject(const QString& text);

    bool itemBehind() const { return m_level < behindLevel + 1; }
    bool isAction() const { return true; }
    bool isVideoItem() const;
    bool forceShowItem() const { return false; }
    bool useVideoFrame() const { return m_useFrame; }
    // The still picture shown in the frame: the target's, else our own when in use.
    QImage validStaticImage() const;

    // Draws the video (or the still picture) for `time` into `context`, a
    // y-up painter on a bitmap.
    void fillImageAtTime(qint64 time, QPainter& context);
    // Crops `image` to the context's proportions and fills the whole context with it.
    static void drawImage(const QImage& image, QPainter& context);

    // A new element sharing every archived value, with its own copy of the text source.
    std::shared_ptr<DVDMenuItem> copy() const;

    QStringList allCoderKeys() const override;
    bool initWithCoder(KeyedUnarchiver& coder) override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    QImage framedImageAtTime(qint64 time);
    void drawFramed(QPainter& painter, const QRectF& bounds, qint64 time, bool showFrame);
    QImage validStaticImageGuarded() const;

    QRectF m_frame;
    std::weak_ptr<Object> m_jump;
    bool m_disabled = false;
    double m_rotation = 0.0;
    int m_level = 0;
    bool m_isTextItem = false;
    std::shared_ptr<DVDLibraryFrameResource> m_frameResource;
    std::shared_ptr<DVDLibraryButtonResource> m_buttonResource;
    std::shared_ptr<DVDMenuItemTextSource> m_textSource;
    bool m_useFrame = false;
    bool m_useStaticImage = false;
    QImage m_menuStaticImage;
    double m_roundValue = 0.0;
    std::optional<Shadow> m_shadow;
    mutable bool m_askingTarget = false;
};
