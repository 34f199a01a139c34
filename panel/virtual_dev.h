#pragma once
// The panel objects: a tree rooted at a CDevModule, built once from the panel description and painted by
// the panel base window. Class names are asked for at run time as text ("CPort").
//
// Threads. The tree's shape (children, rectangles, picture names) is fixed once ReadPanelDescription has
// returned, on the user-interface thread. After that, the polling thread changes port states through
// CPort::SetStatus and SetAllPorts while the user-interface thread paints. Both sides serialise on one
// mutex, CVirtualDev::TreeMutex(): SetStatus and SetAllPorts take it for the whole change (state, lamps,
// picture), and the painter takes it around Attach + SetTargetDC + DrawChildren and clears the target
// before letting go. So a paint sees each port either before or after a change, and a lamp update that
// runs on the polling thread finds no target painter and draws nothing. The repaint itself is only
// requested: SetStatus calls CPanelHost::InvalidatePanelRect, which the window implements as a queued
// update on its own thread.

#include <QImage>
#include <QRect>
#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "panel/panel_host.h"

class QPainter;
class CObserver;

// Publishing half of the subject/observer pair: a list of observers and one published value.
class CSubject {
public:
    CSubject() = default;
    CSubject(const CSubject&) = delete;
    CSubject& operator=(const CSubject&) = delete;
    virtual ~CSubject();

    void Subscribe(CObserver* observer);
    void Unsubscribe(CObserver* observer);
    const std::vector<CObserver*>& Observers() const { return m_observers; }

    void Publish(int value) { m_published = value; }
    int Published() const { return m_published; }
    // Tells every observer, in subscription order, to read the published value.
    void UpdateObservers();

private:
    std::vector<CObserver*> m_observers;
    int m_published = 0;
};

class CObserver {
public:
    CObserver() = default;
    CObserver(const CObserver&) = delete;
    CObserver& operator=(const CObserver&) = delete;
    virtual ~CObserver();

    virtual void Update() = 0;
    CSubject* Subject() const { return m_subject; }

private:
    friend class CSubject;
    CSubject* m_subject = nullptr;  // set and cleared by CSubject
};

class CVirtualDev {
public:
    static constexpr std::size_t kMaxPictureName = 99;  // longest picture file name

    CVirtualDev();
    CVirtualDev(const CVirtualDev&) = delete;
    CVirtualDev& operator=(const CVirtualDev&) = delete;
    virtual ~CVirtualDev();

    // The one lock of the panel tree (see the note at the top).
    static std::recursive_mutex& TreeMutex();

    virtual const char* ClassName() const { return "CVirtualDev"; }
    bool IsClass(const char* className) const;

    // Mouse hand-over; the point is in client coordinates of the attached window.
    virtual void OnMouseMove(int x, int y);
    virtual void OnButtonAction(int, int) {}  // kept for slot order; does nothing in every class
    virtual void SetType(int) {}
    // Loads the picture for the current state; true on success.
    virtual bool LoadPicture();
    // Draws into the target painter (nothing without one).
    virtual void Draw();
    virtual void OnClick(int, int) {}

    // Children: owned, in description order.
    void AddChild(std::unique_ptr<CVirtualDev> child);
    CVirtualDev* GetChild(int i) const;
    int ChildCount() const { return static_cast<int>(m_children.size()); }
    CVirtualDev* Parent() const { return m_parent; }
    // Hands the children over (to move a tree read elsewhere into place).
    std::vector<std::unique_ptr<CVirtualDev>> TakeChildren();

    void SetRect(int left, int top, int width, int height);
    // (left, top, left + width, top + height) as a rectangle whose right and bottom are exclusive.
    QRect GetRect() const;
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    void SetIdentifier(const std::string& id) { m_identifier = id; }
    const std::string& GetIdentifier() const { return m_identifier; }
    void SetName(const std::string& name) { m_name = name; }
    const std::string& GetName() const { return m_name; }
    // Names longer than kMaxPictureName are refused (false); the reader rejects such files first.
    bool SetPictureName(const std::string& name);
    const std::string& GetPictureName() const { return m_pictureName; }
    // Relative picture names are looked up here first (the description file's folder), then in the data
    // folders (data_paths.h), then as given.
    void SetPictureDir(const std::string& dir) { m_pictureDir = dir; }
    const std::string& GetPictureDir() const { return m_pictureDir; }
    std::string ResolvePicturePath(const std::string& name) const;
    const QImage& Picture() const { return m_picture; }

    // Stores the state; a different value marks the object dirty.
    void SetState(int state);
    int GetState() const { return m_state; }
    bool IsDirty() const { return m_dirty; }
    void ClearDirty() { m_dirty = false; }

    // Records the host, its client rectangle as drawing area and that size as reference size, for the
    // object and every descendant.
    void Attach(CPanelHost* host);
    CPanelHost* Host() const { return m_host; }
    // The painter Draw uses, for the object and every descendant; nullptr when no paint runs.
    void SetTargetDC(QPainter* painter);
    QPainter* TargetDC() const { return m_painter; }
    // Draw of each direct child, then clears its dirty flag.
    void DrawChildren();

    // The rectangle scaled from the reference size to the drawing area (integer arithmetic).
    QRect ScaledRect() const;
    // Strictly inside the scaled rectangle shrunk by 2 pixels on each side.
    bool HitTest(int x, int y) const;

    // The n-th direct child (from 0) of that class, or nullptr.
    CVirtualDev* FindChildByClass(const char* className, int n) const;
    CVirtualDev* FindChild(const char* className, const std::string& identifier) const;
    // The new object takes the found child's rectangle and place; the old one is deleted. False when no
    // child matches (the new object is then dropped).
    bool ReplaceChild(const char* className, const std::string& identifier,
                      std::unique_ptr<CVirtualDev> replacement);

protected:
    // Loads a picture file into `image`; a missing file or empty name gives a null image and false.
    bool LoadPictureFile(const std::string& name, QImage& image) const;
    void SetPicture(const QImage& image) { m_picture = image; }
    void DrawPictureStretched(const QImage& image) const;

private:
    std::vector<std::unique_ptr<CVirtualDev>> m_children;
    CVirtualDev* m_parent = nullptr;
    std::string m_identifier;
    std::string m_name = "VirtualDev";
    int m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    int m_refWidth = 0, m_refHeight = 0;
    QRect m_area;
    int m_state = 0;
    bool m_dirty = true;
    QPainter* m_painter = nullptr;
    CPanelHost* m_host = nullptr;
    std::string m_pictureName;
    std::string m_pictureDir;
    QImage m_picture;
};

// Port states.
enum PortState { kPortLink100 = 0, kPortLink10 = 1, kPortDisabled = 2, kPortEnabled = 3, kPortEmpty = 4 };
// Lamp states and kinds.
enum LampState { kLampOn = 0, kLamp1G = 1, kLampOff = 2 };
enum LampKind { kLampLink = 0, kLampS100M = 1, kLampPower = 2, kLampConsole = 3 };

class CDevModule : public CVirtualDev, public CSubject {
public:
    const char* ClassName() const override { return "CDevModule"; }
    void OnMouseMove(int x, int y) override;
    void OnClick(int x, int y) override;
    bool LoadPicture() override { return true; }
    void Draw() override {}
};

class CPanel : public CVirtualDev, public CSubject {
public:
    const char* ClassName() const override { return "CPanel"; }
};

class CModule : public CVirtualDev, public CSubject {
public:
    const char* ClassName() const override { return "CModule"; }
};

class CSlot : public CVirtualDev {
public:
    const char* ClassName() const override { return "CSlot"; }
};

class CPower : public CVirtualDev, public CSubject {
public:
    const char* ClassName() const override { return "CPower"; }
    bool LoadPicture() override;
};

class CCom : public CVirtualDev, public CSubject {
public:
    const char* ClassName() const override { return "CCom"; }
    void OnMouseMove(int x, int y) override;
    bool LoadPicture() override;
    void OnClick(int x, int y) override;
};

class CPort : public CVirtualDev, public CSubject {
public:
    static constexpr int kStates = 5;
    // Ports start as "enabled, no link" until the first poll says otherwise.
    CPort();
    const char* ClassName() const override { return "CPort"; }
    void OnMouseMove(int x, int y) override;
    bool LoadPicture() override;
    void OnClick(int x, int y) override;

    // Changes the state (nothing when it is the current one), tells the lamps, loads the state's picture
    // and asks `host` (if any) to repaint the port's rectangle. Safe from any thread.
    void SetStatus(int state, CPanelHost* host);

    bool SetStatePictureName(int state, const std::string& name);
    std::string GetStatePictureName(int state) const;

private:
    std::array<std::string, kStates> m_statePictures;
};

class CLamp : public CVirtualDev, public CObserver {
public:
    CLamp();
    const char* ClassName() const override { return "CLamp"; }
    void SetType(int kind) override { m_kind = kind; }
    int GetType() const { return m_kind; }
    bool LoadPicture() override;
    void Draw() override;
    void Update() override;

    bool SetStatePictureName(int state, const std::string& name);

private:
    int m_kind = kLampLink;
    std::array<std::string, 4> m_statePictures;
};

class CLed : public CVirtualDev, public CObserver {
public:
    static constexpr int kPictures = 10;
    CLed();
    const char* ClassName() const override { return "CLed"; }
    bool LoadPicture() override;
    void Update() override { Draw(); }
    // Stores the index and loads its picture; an index outside 0..9 keeps the current picture.
    void SetIndex(int index);
    int GetIndex() const { return m_index; }

    bool SetIndexPictureName(int index, const std::string& name);
    std::string GetIndexPictureName(int index) const;

private:
    int m_index = 0;
    std::array<std::string, kPictures> m_indexPictures;
};

// Every port at once: the root's direct ports 1..48 get state 3, 49..52 state 4 (counting from 1), and
// every port inside a CModule child, at any depth, state 3. Safe from any thread.
void SetAllPorts(CVirtualDev& root, CPanelHost* host);

// Links a lamp to its parent when that parent is a port or a connector; other parents publish nothing.
void SubscribeLamp(CLamp& lamp, CVirtualDev* parent);

// Turns a scaled point/rect calculation into plain integers without overflow.
int ScaleCoordinate(int value, int area, int reference);
