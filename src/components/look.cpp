#include "components/look.h"

#include "core/settings.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolTip>
#include <QVariant>
#include <QWidget>
#include <map>

namespace comp {

namespace {

const char* const kPaletteProperty = "trovikClassicPalette";
const char* const kFontProperty = "trovikClassicFont";
const char* const kStyleSheetProperty = "trovikClassicStyleSheet";

struct LookState {
    Look current = Look::Classic;
    bool captured = false;
    QPalette desktopPalette;
    QPalette desktopToolTips;
    QString desktopStyle;
    QPointer<QStyle> style;  // the style applyLook set, while it is the application's
    std::map<int, int> hintOverrides;
    QColor classicTipBase, classicTipText;  // invalid: the light palette's own
};

LookState& state()
{
    static LookState s;
    return s;
}

// The platform or Fusion style, answering the program's own style hints.
class LookStyle : public QProxyStyle {
public:
    explicit LookStyle(QStyle* base) : QProxyStyle(base) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* ret) const override
    {
        const auto& overrides = state().hintOverrides;
        if (const auto it = overrides.find(int(hint)); it != overrides.end())
            return it->second;
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }

    // Fusion outlines an empty check box in a shade of the window colour,
    // which on a dark palette all but vanishes (the drive lists would show
    // no box for a drive left out); a dark palette gets a visible outline.
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        // (Fusion draws an item view's check box as a check box, so this
        // one element covers both.)
        if (element != PE_IndicatorCheckBox || !option || option->palette.base().color().lightness() >= 96
            || baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
            return;
        QColor edge = option->palette.text().color();
        edge.setAlpha(option->state & State_Enabled ? 150 : 70);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(edge);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
    }
};

QStyle* makeBaseStyle(const QString& key)
{
    if (!key.isEmpty())
        if (QStyle* s = QStyleFactory::create(key))
            return s;
    return QStyleFactory::create(QStringLiteral("Fusion"));
}

// What the application had before the program chose a look: the desktop's.
void captureDesktop()
{
    LookState& s = state();
    if (s.captured)
        return;
    s.captured = true;
    s.desktopPalette = QApplication::palette();
    s.desktopToolTips = QToolTip::palette();
    const QStyle* current = QApplication::style();
    if (const auto* proxy = qobject_cast<const QProxyStyle*>(current))
        current = proxy->baseStyle();
    s.desktopStyle = current ? current->name() : QString();
}

void applyKept(QWidget* w, bool classic)
{
    const QVariant palette = w->property(kPaletteProperty);
    if (palette.isValid())
        w->setPalette(classic ? palette.value<QPalette>() : QPalette());
    const QVariant font = w->property(kFontProperty);
    if (font.isValid())
        w->setFont(lookFont(font.value<QFont>()));
    const QVariant sheet = w->property(kStyleSheetProperty);
    if (sheet.isValid())
        w->setStyleSheet(classic ? sheet.toString() : QString());
}

}  // namespace

Look parseLook(const QString& text)
{
    return text.trimmed().compare(QLatin1String("Desktop"), Qt::CaseInsensitive) == 0 ? Look::Desktop
                                                                                        : Look::Classic;
}

QString lookName(Look look)
{
    return look == Look::Desktop ? QStringLiteral("Desktop") : QStringLiteral("Classic");
}

std::optional<Look> lookFromArguments(const QStringList& arguments, QString* error)
{
    static const QString prefix = QStringLiteral("--look=");
    std::optional<Look> chosen;
    for (const QString& a : arguments) {
        if (a == QLatin1String("--look")) {
            if (error)
                *error = QStringLiteral("--look needs a value: use --look=classic or --look=desktop.");
            continue;
        }
        if (!a.startsWith(prefix))
            continue;
        const QString value = a.mid(prefix.size());
        if (value.compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0)
            chosen = Look::Desktop;
        else if (value.compare(QLatin1String("classic"), Qt::CaseInsensitive) == 0)
            chosen = Look::Classic;
        else if (error)
            *error = QStringLiteral("Unknown look \"%1\": use --look=classic or --look=desktop.").arg(value);
    }
    return chosen;
}

Look storedLook()
{
    return parseLook(core::SettingsStore::readString(QStringLiteral("Options"), QStringLiteral("Look")));
}

void storeLook(Look look)
{
    core::SettingsStore::writeString(QStringLiteral("Options"), QStringLiteral("Look"), lookName(look));
}

Look look()
{
    return state().current;
}

bool lookApplied()
{
    const LookState& s = state();
    return s.style && QApplication::style() == s.style;
}

void applyLook(Look look)
{
    captureDesktop();
    LookState& s = state();
    s.current = look;
    const bool classic = look == Look::Classic;

    auto* style = new LookStyle(makeBaseStyle(classic ? QStringLiteral("Fusion") : s.desktopStyle));
    QApplication::setStyle(style);  // the application owns it and deletes the previous one
    s.style = style;
    if (classic) {
        // Every role set, so that a dark desktop theme cannot show through
        // the fixed colours.
        QPalette light = style->standardPalette();
        light.setResolveMask(~QPalette::ResolveMask(0));
        QApplication::setPalette(light);
        QPalette tips = light;
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            if (s.classicTipBase.isValid())
                tips.setColor(g, QPalette::ToolTipBase, s.classicTipBase);
            if (s.classicTipText.isValid())
                tips.setColor(g, QPalette::ToolTipText, s.classicTipText);
        }
        QToolTip::setPalette(tips);
    } else {
        QApplication::setPalette(s.desktopPalette);
        QToolTip::setPalette(s.desktopToolTips);
    }
    const QList<QWidget*> widgets = QApplication::allWidgets();
    for (QWidget* w : widgets)
        applyKept(w, classic);
    for (QWidget* w : widgets)
        w->update();
}

void setStyleHintOverride(QStyle::StyleHint hint, int value)
{
    state().hintOverrides[int(hint)] = value;
}

void setClassicToolTipColors(const QColor& base, const QColor& text)
{
    LookState& s = state();
    s.classicTipBase = base;
    s.classicTipText = text;
    if (!classicLook())
        return;
    QPalette tips = QToolTip::palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        tips.setColor(g, QPalette::ToolTipBase, base);
        tips.setColor(g, QPalette::ToolTipText, text);
    }
    QToolTip::setPalette(tips);
}

void setClassicPalette(QWidget* widget, const QPalette& roles)
{
    widget->setProperty(kPaletteProperty, QVariant::fromValue(roles));
    applyKept(widget, classicLook());
}

void setClassicFont(QWidget* widget, const QFont& font)
{
    widget->setProperty(kFontProperty, QVariant::fromValue(font));
    widget->setFont(lookFont(font));
}

void setClassicStyleSheet(QWidget* widget, const QString& styleSheet)
{
    widget->setProperty(kStyleSheetProperty, styleSheet);
    widget->setStyleSheet(classicLook() ? styleSheet : QString());
}

QFont lookFont(const QFont& classic)
{
    if (classicLook())
        return classic;
    QFont f = QApplication::font();
    if (classic.pixelSize() > 0)
        f.setPixelSize(classic.pixelSize());
    else if (classic.pointSizeF() > 0)
        f.setPointSizeF(classic.pointSizeF());
    f.setWeight(classic.weight());
    f.setItalic(classic.italic());
    f.setUnderline(classic.underline());
    return f;
}

QColor mixColors(const QColor& a, const QColor& b, double part)
{
    const double keep = 1.0 - part;
    return QColor::fromRgbF(float(a.redF() * keep + b.redF() * part), float(a.greenF() * keep + b.greenF() * part),
                            float(a.blueF() * keep + b.blueF() * part));
}

}  // namespace comp
