#pragma once
// File-type names and registered extensions, from the shared MIME database.

#include <QHash>
#include <QString>
#include <QStringList>

namespace plat {

class FileTypeSource {
public:
    virtual ~FileTypeSource() = default;
    // The type name of an extension with its dot (".txt" -> "Plain text
    // document"); empty when the extension is unknown.
    virtual QString typeName(const QString& dotExtension) = 0;
    // Registered extensions with their dot, lower case, 1-4 characters after
    // the dot, no duplicates, sorted.
    virtual QStringList registeredExtensions() = 0;
};

// The MIME database: type name = the MIME comment of the type that a single
// "*.ext" glob gives; results are cached per extension.
class MimeFileTypes : public FileTypeSource {
public:
    QString typeName(const QString& dotExtension) override;
    QStringList registeredExtensions() override;
private:
    QHash<QString, QString> names_;
    QStringList extensions_;
};

// A fixed table for tests.
class FakeFileTypes : public FileTypeSource {
public:
    explicit FakeFileTypes(QHash<QString, QString> table) : table_(std::move(table)) {}
    QString typeName(const QString& dotExtension) override;
    QStringList registeredExtensions() override;
private:
    QHash<QString, QString> table_;  // ".txt" -> "Text Document"
};

// The source in use (MimeFileTypes unless a test set another one).
FileTypeSource& fileTypes();
void setFileTypes(FileTypeSource* source);  // nullptr restores the default

}  // namespace plat
