// What the program's other forms use of the main window: its skin and its
// task queue. The main window registers itself here while it exists, so the
// forms reach it without including it.
#pragma once

class TbsSkinData;
class IJobQueue;

class TMainWindowLink {
public:
    virtual ~TMainWindowLink() = default;
    virtual TbsSkinData* MainSkinData() = 0;
    virtual IJobQueue& MainJobQueue() = 0;
};

// The main window, or null while none exists.
TMainWindowLink* MainWindowLink();
void SetMainWindowLink(TMainWindowLink* Link);
