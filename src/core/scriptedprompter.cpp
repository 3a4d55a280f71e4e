#include "core/scriptedprompter.h"

namespace core {

QStringList ScriptedPrompter::texts(Kind kind) const
{
    QStringList out;
    for (const Record& r : records_)
        if (r.kind == kind)
            out << r.text;
    return out;
}

QStringList ScriptedPrompter::allTexts() const
{
    QStringList out;
    for (const Record& r : records_)
        out << r.text;
    return out;
}

// GCC 12 warns, wrongly, that the moved-from variant's QString may be
// uninitialised.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
ScriptedPrompter::Reply ScriptedPrompter::next()
{
    if (replies_.empty())
        return std::monostate{};
    Reply r = std::move(replies_.front());
    replies_.pop_front();
    return r;
}
#pragma GCC diagnostic pop

void ScriptedPrompter::message(MessageKind kind, const QString& text, const QString& caption)
{
    const Kind k = kind == MessageKind::Error ? Kind::Error : kind == MessageKind::Warning ? Kind::Warning : Kind::Info;
    records_.append({k, text, caption, std::nullopt});
}

Answer ScriptedPrompter::confirm(ConfirmKind kind, const QString& text, const QString& caption)
{
    return confirmWithDefault(kind, text, StandardDefault(kind), caption);
}

Answer ScriptedPrompter::confirmWithDefault(ConfirmKind kind, const QString& text, Answer defaultButton,
                                            const QString& caption)
{
    if (!HasButton(kind, defaultButton))
        defaultButton = StandardDefault(kind);
    records_.append({Kind::Confirm, text, caption, defaultButton});
    const Reply r = next();
    if (const Answer* a = std::get_if<Answer>(&r))
        return *a;
    return kind == ConfirmKind::OkCancel ? Answer::Cancel : kind == ConfirmKind::YesNoCancel ? Answer::Cancel : Answer::No;
}

std::optional<QString> ScriptedPrompter::input(const QString& caption, const QString& prompt, const QString& initial)
{
    records_.append({Kind::Input, prompt, caption, std::nullopt});
    const Reply r = next();
    if (const QString* s = std::get_if<QString>(&r))
        return *s;
    return std::nullopt;
}

std::optional<QString> ScriptedPrompter::pickFolder(const QString& caption, const QString& initialFolder)
{
    records_.append({Kind::Folder, initialFolder, caption, std::nullopt});
    const Reply r = next();
    if (const QString* s = std::get_if<QString>(&r))
        return *s;
    return std::nullopt;
}

std::optional<QString> ScriptedPrompter::saveFile(const SaveRequest& request)
{
    records_.append({Kind::Save, request.initialName, request.caption, std::nullopt});
    const Reply r = next();
    if (const QString* s = std::get_if<QString>(&r))
        return *s;
    return std::nullopt;
}

std::optional<PrintTarget> ScriptedPrompter::choosePrinter(const QString& caption)
{
    records_.append({Kind::Print, QString(), caption, std::nullopt});
    const Reply r = next();
    if (const PrintTarget* t = std::get_if<PrintTarget>(&r))
        return *t;
    return std::nullopt;
}

// ---- The viewer's dialogs ----------------------------------------------------

// GCC 12 warns, wrongly, about the QStrings of copied optionals here too.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

QStringList ScriptedPrompter::viewerTexts(ViewerKind kind) const
{
    QStringList out;
    for (const ViewerRecord& r : viewerRecords_)
        if (r.kind == kind)
            out << r.text;
    return out;
}

std::optional<QString> ScriptedPrompter::openFile(const OpenRequest& request)
{
    viewerRecords_.append({ViewerKind::Open, request.filter});
    const Reply r = next();
    if (const QString* s = std::get_if<QString>(&r))
        return *s;
    return std::nullopt;
}

std::optional<QFont> ScriptedPrompter::chooseFont(const QString& caption, const QFont&, bool)
{
    viewerRecords_.append({ViewerKind::Font, caption});
    if (fonts_.empty())
        return std::nullopt;
    std::optional<QFont> f = fonts_.front();
    fonts_.pop_front();
    return f;
}

bool ScriptedPrompter::pageSetup(const QString& caption, PageSetup& setup)
{
    viewerRecords_.append({ViewerKind::PageSetup, caption});
    if (pageSetups_.empty())
        return false;
    const std::optional<PageSetup> s = pageSetups_.front();
    pageSetups_.pop_front();
    if (!s)
        return false;
    setup = *s;
    return true;
}

std::optional<PrintChoice> ScriptedPrompter::choosePrintRange(const QString&, bool offerSelection)
{
    viewerRecords_.append({ViewerKind::PrintRange, offerSelection ? QStringLiteral("selection") : QStringLiteral("all")});
    if (printChoices_.empty())
        return std::nullopt;
    std::optional<PrintChoice> c = printChoices_.front();
    printChoices_.pop_front();
    return c;
}

#pragma GCC diagnostic pop

}  // namespace core
