#pragma once

#include <QWidget>

// The banner that the main window hosts in its strip. Vellumor shows no
// advertising: the banner takes its settings and its start and stop, shows
// nothing and never goes to the network.
class AdBanner : public QWidget
{
    Q_OBJECT

public:
    explicit AdBanner(QWidget *parent = nullptr) : QWidget(parent)
    {
        setObjectName(QStringLiteral("ad1"));
        setFixedSize(0, 0);
    }

    int adsize = 0;
    int softwareid = 0;
    int major = 0;
    int minor = 0;
    int revision = 0;

    bool active() const { return m_active; }
    void setActive(bool active) { m_active = active; }
    void Start() { m_active = true; }
    void Stop() { m_active = false; }

private:
    bool m_active = false;
};
