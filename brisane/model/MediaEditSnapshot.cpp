#include "model/MediaEditSnapshot.h"

namespace MediaEditSnapshot {

namespace {

// The cleared value of a key's kind: null for numbers and flags (which the
// media item takes as 0), an empty value of the kind otherwise.
Value clearedLike(const Value& current)
{
    switch (current.kind()) {
        case Value::Kind::String:
            return Value(QString());
        case Value::Kind::Image:
            return Value(QImage());
        case Value::Kind::Color:
            return Value(QColor());
        case Value::Kind::Font:
            return Value(QFont());
        case Value::Kind::Array:
            return Value(Value::Array());
        default:
            return Value();
    }
}

bool isKeptRange(const QString& key)
{
    return key == QLatin1String("trimStart") || key == QLatin1String("trimStop");
}

}  // namespace

QStringList movieAttributesKeys(bool withVolume)
{
    QStringList keys{
        "hflip", "vflip",      "rotate",   "saturation",     "brightness",           "contrast",
        "hue",   "effectName", "zoomType", "cropRectString", "outputVideoSizeString"};
    if (withVolume) {
        keys << "volume";
    }
    return keys;
}

QStringList vcmovieAttributesKeys()
{
    return VCMovie::snapshotKeys();
}

std::optional<Value::Dictionary> take(const VCMovie& item, const QStringList& movieKeys)
{
    const IMovie::Ptr movie = item.movie();
    if (!movie) {
        return std::nullopt;
    }
    Value::Dictionary snapshot;
    for (const QString& key : movieKeys) {
        const Value value = movie->value(key);
        if (!value.isNull()) {
            snapshot.insert(key, value);
        }
    }
    for (const QString& key : vcmovieAttributesKeys()) {
        const Value value = item.valueForKey(key);
        if (!value.isNull()) {
            snapshot.insert(key, value);
        }
    }
    return snapshot;
}

void apply(const Value::Dictionary& snapshot, VCMovie& item, const QStringList& movieKeys)
{
    const IMovie::Ptr movie = item.movie();
    if (!movie || snapshot.isEmpty()) {
        return;
    }
    for (const QString& key : movieKeys) {
        const auto it = snapshot.constFind(key);
        if (it != snapshot.constEnd()) {
            movie->setValue(key, it.value());
        }
    }
    for (const QString& key : vcmovieAttributesKeys()) {
        const auto it = snapshot.constFind(key);
        if (it != snapshot.constEnd()) {
            item.setValueForKey(it.value(), key);
        } else if (!isKeptRange(key)) {
            item.setValueForKey(clearedLike(item.valueForKey(key)), key);
        }
    }
    item.updateMovieWatermarkImageHelper();
}

}  // namespace MediaEditSnapshot
