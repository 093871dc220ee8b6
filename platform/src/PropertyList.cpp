#include "platform/PropertyList.h"

#include <QDebug>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include "platform/BoundedFile.h"

namespace {

constexpr int MaximumDepth = 64;
constexpr qint64 MaximumFileSize = 4 * 1024 * 1024;

class Parser {
public:
    explicit Parser(const QByteArray& data) : m_xml(data) {}

    std::optional<Value> parseDocument()
    {
        if (!nextElement() || m_xml.name() != QLatin1String("plist")) {
            fail(QStringLiteral("no plist element"));
            return std::nullopt;
        }
        if (!nextElement()) {
            fail(QStringLiteral("empty plist"));
            return std::nullopt;
        }
        return parseValue(0);
    }

    QString error() const { return m_error.isEmpty() ? m_xml.errorString() : m_error; }

private:
    // Moves to the next start element; false at an end element or the end.
    bool nextElement()
    {
        while (!m_xml.atEnd()) {
            switch (m_xml.readNext()) {
                case QXmlStreamReader::StartElement:
                    return true;
                case QXmlStreamReader::EndElement:
                    return false;
                default:
                    break;
            }
        }
        return false;
    }

    void fail(const QString& message)
    {
        if (m_error.isEmpty()) {
            m_error = message;
        }
        m_failed = true;
    }

    std::optional<Value> parseValue(int depth)
    {
        if (depth > MaximumDepth) {
            fail(QStringLiteral("nesting too deep"));
            return std::nullopt;
        }
        const QString tag = m_xml.name().toString();
        if (tag == QLatin1String("dict")) {
            return parseDictionary(depth);
        }
        if (tag == QLatin1String("array")) {
            return parseArray(depth);
        }
        if (tag == QLatin1String("true") || tag == QLatin1String("false")) {
            m_xml.skipCurrentElement();
            return Value(tag == QLatin1String("true"));
        }
        const QString text = m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (m_xml.hasError()) {
            return std::nullopt;
        }
        if (tag == QLatin1String("string") || tag == QLatin1String("date")) {
            return Value(text);
        }
        if (tag == QLatin1String("integer")) {
            bool ok = false;
            const qint64 number = text.trimmed().toLongLong(&ok);
            if (!ok) {
                fail(QStringLiteral("bad integer \"%1\"").arg(text));
                return std::nullopt;
            }
            return Value(number);
        }
        if (tag == QLatin1String("real")) {
            bool ok = false;
            const double number = text.trimmed().toDouble(&ok);
            if (!ok) {
                fail(QStringLiteral("bad real \"%1\"").arg(text));
                return std::nullopt;
            }
            return Value(number);
        }
        if (tag == QLatin1String("data")) {
            return Value(QByteArray::fromBase64(text.toLatin1()));
        }
        fail(QStringLiteral("unknown element %1").arg(tag));
        return std::nullopt;
    }

    std::optional<Value> parseDictionary(int depth)
    {
        Value::Dictionary dictionary;
        while (nextElement()) {
            if (m_xml.name() != QLatin1String("key")) {
                fail(QStringLiteral("dict entry without key"));
                return std::nullopt;
            }
            const QString key = m_xml.readElementText();
            if (!nextElement()) {
                fail(QStringLiteral("key \"%1\" without value").arg(key));
                return std::nullopt;
            }
            auto value = parseValue(depth + 1);
            if (!value) {
                return std::nullopt;
            }
            dictionary.insert(key, *value);
        }
        if (m_xml.hasError() || m_failed) {
            return std::nullopt;
        }
        return Value(dictionary);
    }

    std::optional<Value> parseArray(int depth)
    {
        Value::Array array;
        while (nextElement()) {
            auto value = parseValue(depth + 1);
            if (!value) {
                return std::nullopt;
            }
            array.append(*value);
        }
        if (m_xml.hasError() || m_failed) {
            return std::nullopt;
        }
        return Value(array);
    }

    QXmlStreamReader m_xml;
    QString m_error;
    bool m_failed = false;
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

std::optional<Value> PropertyList::fromData(const QByteArray& data, QString* error)
{
    Parser parser(data);
    auto root = parser.parseDocument();
    if (!root && error) {
        *error = parser.error();
    }
    return root;
}

std::optional<Value> PropertyList::read(const QString& path, QString* error)
{
    const auto data = BoundedFile::read(path, MaximumFileSize, error);
    if (!data) {
        return std::nullopt;
    }
    return fromData(*data, error);
}

std::optional<Value::Dictionary> PropertyList::dictionaryFromData(const QByteArray& data,
                                                                  QString* error)
{
    Parser parser(data);
    auto root = parser.parseDocument();
    if (!root || !root->isDictionary()) {
        if (error) {
            *error = root ? QStringLiteral("root is not a dictionary") : parser.error();
        }
        return std::nullopt;
    }
    return root->dictionary();
}

std::optional<Value::Dictionary> PropertyList::readDictionary(const QString& path)
{
    QString error;
    const auto data = BoundedFile::read(path, MaximumFileSize, &error);
    if (!data) {
        qWarning().noquote() << "Cannot read property list" << path << ":" << error;
        return std::nullopt;
    }
    auto dictionary = dictionaryFromData(*data, &error);
    if (!dictionary) {
        qWarning().noquote() << "Malformed property list" << path << ":" << error;
    }
    return dictionary;
}

bool PropertyList::write(const QString& path, const Value& root)
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
