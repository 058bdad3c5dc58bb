#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <initializer_list>
#include <utility>

// A persisted property set: keys compared without regard to case, kept in the order first written.
// Typed values: text = QString, Boolean = qint16 (-1 true, 0 false), integer = qint32, colour = quint32.
class PropertyBag {
public:
    PropertyBag() = default;
    PropertyBag(std::initializer_list<std::pair<QString, QVariant>> entries);

    QVariant ReadProperty(const QString& key, const QVariant& defaultValue) const;
    // Stores the value, or removes the key when the value equals saveDefault (a null saveDefault: always
    // stored).
    void WriteProperty(const QString& key, const QVariant& value, const QVariant& saveDefault = QVariant());
    QStringList Keys() const;

private:
    qsizetype IndexOf(const QString& key) const;

    QList<std::pair<QString, QVariant>> entries_;
};

// The Boolean form a property set keeps: -1 for true, 0 for false.
inline qint16 StoredBoolean(bool value) {
    return value ? qint16(-1) : qint16(0);
}
