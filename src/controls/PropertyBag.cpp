#include "controls/PropertyBag.h"

PropertyBag::PropertyBag(std::initializer_list<std::pair<QString, QVariant>> entries) {
    for (const auto& [key, value] : entries) {
        WriteProperty(key, value);
    }
}

QVariant PropertyBag::ReadProperty(const QString& key, const QVariant& defaultValue) const {
    const qsizetype index = IndexOf(key);
    return index < 0 ? defaultValue : entries_[index].second;
}

void PropertyBag::WriteProperty(const QString& key, const QVariant& value, const QVariant& saveDefault) {
    const qsizetype index = IndexOf(key);
    if (!saveDefault.isNull() && value == saveDefault) {
        if (index >= 0) {
            entries_.removeAt(index);
        }
        return;
    }
    if (index >= 0) {
        entries_[index].second = value;
    } else {
        entries_.append({key, value});
    }
}

QStringList PropertyBag::Keys() const {
    QStringList keys;
    keys.reserve(entries_.size());
    for (const auto& entry : entries_) {
        keys.append(entry.first);
    }
    return keys;
}

qsizetype PropertyBag::IndexOf(const QString& key) const {
    for (qsizetype index = 0; index < entries_.size(); ++index) {
        if (entries_[index].first.compare(key, Qt::CaseInsensitive) == 0) {
            return index;
        }
    }
    return -1;
}
