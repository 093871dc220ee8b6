#pragma once
// Maps archived class names to factories. Class names are part of the archive
// format: an archive names the class of each object, and decoding creates an
// instance of that class. Unknown names decode to null.

#include <QString>
#include <functional>
#include <memory>
#include <typeindex>

class Object;

class ClassRegistry {
public:
    using Factory = std::function<std::shared_ptr<Object>()>;

    static void add(const QString& name, std::type_index type, Factory factory);
    // Null for an unknown name.
    static std::shared_ptr<Object> create(const QString& name);
    // Empty for an unregistered type.
    static QString nameOf(std::type_index type);
    static bool contains(const QString& name);

    template <typename T>
    static void add(const QString& name)
    {
        add(name, typeid(T), [] { return std::make_shared<T>(); });
    }
};

// Registers a class under its archive name at load time:
//   BRISANE_REGISTER_CLASS(DVDMenu)
#define BRISANE_REGISTER_CLASS(Type)                                       \
    namespace {                                                            \
    const bool registered_##Type = [] {                                    \
        ClassRegistry::add<Type>(QStringLiteral(#Type));                   \
        return true;                                                       \
    }();                                                                   \
    }
