#include "DLPropertyList.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

constexpr int maximumDepth = 128;

class Reader {
public:
    explicit Reader(QIODevice* device) : m_xml(device) {}

    std::optional<Value> document()
    {
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"plist") {
                if (!m_xml.readNextStartElement()) {
                    return std::nullopt;
                }
                auto root = value(0);
                if (m_xml.hasError()) {
                    return std::nullopt;
                }
                return root;
            }
            m_xml.skipCurrentElement();
        }
        return std::nullopt;
    }

private:
    // Reads the element the reader stands on; leaves the reader on its end.
    std::optional<Value> value(int depth)
    {
        if (depth > maximumDepth) {
            return std::nullopt;
        }
        const auto name = m_xml.name();
        if (name == u"dict") {
            return dictionary(depth);
        }
        if (name == u"array") {
            return array(depth);
        }
        if (name == u"true" || name == u"false") {
            const bool truth = name == u"true";
            m_xml.skipCurrentElement();
            return Value(truth);
        }
        const QString text = m_xml.readElementText();
        if (m_xml.hasError()) {
            return std::nullopt;
        }
        if (name == u"string" || name == u"date") {
            return Value(text);
        }
        if (name == u"integer") {
            bool ok = false;
            const qint64 number = text.trimmed().toLongLong(&ok);
            return ok ? std::optional<Value>(Value(number)) : std::nullopt;
        }
        if (name == u"real") {
            bool ok = false;
            const double number = text.trimmed().toDouble(&ok);
            return ok ? std::optional<Value>(Value(number)) : std::nullopt;
        }
        if (name == u"data") {
            return Value(QByteArray::fromBase64(text.toLatin1()));
        }
        return std::nullopt;
    }

    std::optional<Value> dictionary(int depth)
    {
        Value::Dictionary result;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() != u"key") {
                return std::nullopt;
            }
            const QString key = m_xml.readElementText();
            if (!m_xml.readNextStartElement()) {
                return std::nullopt;
            }
            auto item = value(depth + 1);
            if (!item) {
                return std::nullopt;
            }
            result.insert(key, *item);
        }
        return Value(result);
    }

    std::optional<Value> array(int depth)
    {
        Value::Array result;
        while (m_xml.readNextStartElement()) {
            auto item = value(depth + 1);
            if (!item) {
                return std::nullopt;
            }
            result.append(*item);
        }
        return Value(result);
    }

    QXmlStreamReader m_xml;
};

void writeValue(QXmlStreamWriter& xml, const Value& value)
{
    switch (value.kind()) {
        case Value::Kind::Dictionary:
            xml.writeStartElement(QStringLiteral("dict"));
            for (auto it = value.dictionary().cbegin(); it != value.dictionary().cend(); ++it) {
                if (it.value().isNull()) {
                    continue;
                }
                xml.writeTextElement(QStringLiteral("key"), it.key());
                writeValue(xml, it.value());
            }
            xml.writeEndElement();
            break;
        case Value::Kind::Array:
            xml.writeStartElement(QStringLiteral("array"));
            for (const Value& item : value.array()) {
                writeValue(xml, item);
            }
            xml.writeEndElement();
            break;
        case Value::Kind::Bool:
            xml.writeEmptyElement(*value.toBool() ? QStringLiteral("true")
                                                  : QStringLiteral("false"));
            break;
        case Value::Kind::Int:
            xml.writeTextElement(QStringLiteral("integer"), QString::number(*value.toInt()));
            break;
        case Value::Kind::Double:
            xml.writeTextElement(QStringLiteral("real"),
                                 QString::number(*value.toDouble(), 'g', 17));
            break;
        case Value::Kind::String:
            xml.writeTextElement(QStringLiteral("string"), *value.toString());
            break;
        case Value::Kind::Data:
            xml.writeTextElement(QStringLiteral("data"),
                                 QString::fromLatin1(value.toData()->toBase64()));
            break;
        default:
            break;
    }
}

}  // namespace

std::optional<Value> DLPropertyList::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    Reader reader(&file);
    return reader.document();
}

bool DLPropertyList::write(const QString& path, const Value& root)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(-1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("plist"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    writeValue(xml, root);
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError() && file.commit();
}
