#include "controls/NumberBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

#include <algorithm>

UpDown::UpDown(int min, int max, QObject* parent)
    : QObject(parent)
    , m_min(min)
    , m_max(max)
    , m_position(std::clamp(1, min, max))
{
}

void UpDown::setPosition(int position)
{
    m_position = std::clamp(position, m_min, m_max);
}

NumberBox::NumberBox(const QString& name, const QString& upDownName, int min, int max, QWidget* parent)
    : QAbstractSpinBox(parent)
    , m_upDown(new UpDown(min, max, this))
{
    setObjectName(name);
    m_upDown->setObjectName(upDownName);
    setAccelerated(false);
    setWrapping(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    // The wheel must not take the focus from another control: a box the
    // pointer merely passes over stays as it is.
    setFocusPolicy(Qt::StrongFocus);
    lineEdit()->setText(QString::number(m_upDown->position()));
}

QString NumberBox::Text() const
{
    return lineEdit()->text();
}

void NumberBox::setText(const QString& text)
{
    lineEdit()->setText(text);
}

bool NumberBox::isAllowedTypedChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || u == 8 || u == 10 || u == 13;
}

int NumberBox::stepBase() const
{
    const QString text = Text();
    const bool plainDecimal =
        !text.isEmpty() && text.size() <= 9 && std::all_of(text.begin(), text.end(), [](QChar c) {
            return c >= u'0' && c <= u'9';
        });
    return plainDecimal ? text.toInt() : m_upDown->position();
}

// The number one step up (direction 1) or down (-1) gives: a number outside
// the range comes back to its nearest end.
int NumberBox::stepped(int direction) const
{
    return std::clamp(stepBase() + direction, m_upDown->minimum(), m_upDown->maximum());
}

// Qt steps by ten for Page Up/Page Down and a Ctrl-wheel; here every step
// is one, whatever asked for it.
void NumberBox::stepBy(int steps)
{
    if (steps == 0)
        return;
    m_upDown->setPosition(stepped(steps > 0 ? 1 : -1));
    lineEdit()->setText(QString::number(m_upDown->position()));
    lineEdit()->selectAll();
}

// A direction is enabled while a step that way changes the number shown.
QAbstractSpinBox::StepEnabled NumberBox::stepEnabled() const
{
    const int base = stepBase();
    StepEnabled enabled = StepNone;
    if (stepped(1) != base)
        enabled |= StepUpEnabled;
    if (stepped(-1) != base)
        enabled |= StepDownEnabled;
    return enabled;
}

// Whatever the box holds is acceptable: the rules judge the text when they
// read it.
QValidator::State NumberBox::validate(QString&, int&) const
{
    return QValidator::Acceptable;
}

void NumberBox::fixup(QString&) const
{
}

void NumberBox::keyPressEvent(QKeyEvent* event)
{
    // Only typed characters are filtered: Delete, the arrows and the other
    // editing keys do their usual work.
    const QString text = event->text();
    const int key = event->key();
    if (m_keyFilter && !text.isEmpty() && key != Qt::Key_Delete && key != Qt::Key_Tab && key != Qt::Key_Backtab) {
        QChar typed = text.at(0);
        m_keyFilter(this, typed);
        if (typed.isNull()) {
            event->accept();
            return;
        }
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void NumberBox::wheelEvent(QWheelEvent* event)
{
    // Left to the controls around it, so the wheel over an unfocused box
    // changes nothing in it.
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QAbstractSpinBox::wheelEvent(event);
}
