#pragma once

#include <QAbstractSpinBox>

#include <functional>

// The spin part of a number box: its range and last position. It has a name
// of its own (UpDown1 … UpDown9) so that it can be found like any control.
class UpDown : public QObject {
    Q_OBJECT
public:
    UpDown(int min, int max, QObject* parent);

    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    int position() const { return m_position; }
    void setPosition(int position);

private:
    int m_min;
    int m_max;
    int m_position;
};

// An edit box for a rule's number with up/down arrows at its right edge.
//
// The box holds any text: typed keys go through the key filter, but pasted
// text is kept as it is, and the rules decide what counts as a number. Each
// step of the arrows, the arrow keys, Page Up/Page Down or a wheel notch
// adds or takes one from the number the box shows when it holds a plain
// decimal number, else from the arrows' own last position, keeps the result
// within the range without wrapping, and writes plain decimal digits. The
// wheel steps a box only while it has the focus.
class NumberBox : public QAbstractSpinBox {
    Q_OBJECT
public:
    NumberBox(const QString& name, const QString& upDownName, int min, int max, QWidget* parent);

    QString Text() const;
    void setText(const QString& text);
    UpDown* upDown() const { return m_upDown; }

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

    // The key filter every number box shares: digits, Backspace, line feed
    // and Enter pass; every other typed character is dropped.
    static bool isAllowedTypedChar(QChar c);

    // Sees each typed character, by reference, before the box does; setting
    // it to the character 0 drops it.
    using KeyFilter = std::function<void(NumberBox* sender, QChar& key)>;
    void setKeyFilter(KeyFilter filter) { m_keyFilter = std::move(filter); }

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int stepBase() const;
    int stepped(int direction) const;

    UpDown* m_upDown;
    KeyFilter m_keyFilter;
};
