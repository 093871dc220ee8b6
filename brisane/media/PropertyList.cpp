#include "media/PropertyList.h"

#include <QDebug>
#include <QFile>
#include <QXmlStreamReader>

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

}  // namespace

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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning().noquote() << "Cannot read property list" << path << ":" << file.errorString();
        return std::nullopt;
    }
    if (file.size() > MaximumFileSize) {
        qWarning().noquote() << "Property list too large:" << path;
        return std::nullopt;
    }
    QString error;
    auto dictionary = dictionaryFromData(file.readAll(), &error);
    if (!dictionary) {
        qWarning().noquote() << "Malformed property list" << path << ":" << error;
    }
    return dictionary;
}
