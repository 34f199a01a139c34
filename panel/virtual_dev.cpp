#include "panel/virtual_dev.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cstring>

#include "core/data_paths.h"
#include "panel/panel_picture.h"
#include "panel/port_click.h"

// --- subject / observer ---------------------------------------------------------------------------

CSubject::~CSubject() {
    for (CObserver* o : m_observers) o->m_subject = nullptr;
}

void CSubject::Subscribe(CObserver* observer) {
    if (!observer) return;
    if (observer->m_subject && observer->m_subject != this) observer->m_subject->Unsubscribe(observer);
    if (std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
    observer->m_subject = this;
}

void CSubject::Unsubscribe(CObserver* observer) {
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
    if (observer && observer->m_subject == this) observer->m_subject = nullptr;
}

void CSubject::UpdateObservers() {
    // An observer's Update never changes the list, but copy anyway so a future one may.
    const std::vector<CObserver*> observers = m_observers;
    for (CObserver* o : observers) o->Update();
}

CObserver::~CObserver() {
    if (m_subject) m_subject->Unsubscribe(this);
}

// --- CVirtualDev ----------------------------------------------------------------------------------

int ScaleCoordinate(int value, int area, int reference) {
    // Before Attach (or with an empty window) there is nothing to scale against.
    if (reference <= 0) return value;
    const long long scaled = static_cast<long long>(value) * area / reference;
    return static_cast<int>(std::clamp<long long>(scaled, INT_MIN, INT_MAX));
}

CVirtualDev::CVirtualDev() = default;
CVirtualDev::~CVirtualDev() = default;

std::recursive_mutex& CVirtualDev::TreeMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

bool CVirtualDev::IsClass(const char* className) const {
    return className && std::strcmp(ClassName(), className) == 0;
}

void CVirtualDev::OnMouseMove(int x, int y) {
    if (m_host && HitTest(x, y)) m_host->SetPanelCursor(PanelCursor::Arrow);
}

bool CVirtualDev::LoadPicture() {
    QImage image;
    const bool ok = LoadPictureFile(m_pictureName, image);
    m_picture = image;
    return ok;
}

void CVirtualDev::Draw() {
    DrawPictureStretched(m_picture);
}

void CVirtualDev::DrawPictureStretched(const QImage& image) const {
    if (!m_painter || image.isNull() || m_width <= 0 || m_height <= 0) return;
    m_painter->drawImage(QRect(m_left, m_top, m_width, m_height), image);
}

void CVirtualDev::AddChild(std::unique_ptr<CVirtualDev> child) {
    if (!child) return;
    child->m_parent = this;
    m_children.push_back(std::move(child));
}

std::vector<std::unique_ptr<CVirtualDev>> CVirtualDev::TakeChildren() {
    std::vector<std::unique_ptr<CVirtualDev>> children = std::move(m_children);
    m_children.clear();
    for (auto& child : children) child->m_parent = nullptr;
    return children;
}

CVirtualDev* CVirtualDev::GetChild(int i) const {
    if (i < 0 || i >= ChildCount()) return nullptr;
    return m_children[static_cast<std::size_t>(i)].get();
}

void CVirtualDev::SetRect(int left, int top, int width, int height) {
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
}

QRect CVirtualDev::GetRect() const {
    const auto right = std::clamp<long long>(static_cast<long long>(m_left) + m_width, INT_MIN, INT_MAX);
    const auto bottom = std::clamp<long long>(static_cast<long long>(m_top) + m_height, INT_MIN, INT_MAX);
    // QRect's right/bottom are inclusive; ours are exclusive edges.
    return QRect(QPoint(m_left, m_top), QPoint(static_cast<int>(right) - 1, static_cast<int>(bottom) - 1));
}

bool CVirtualDev::SetPictureName(const std::string& name) {
    if (name.size() > kMaxPictureName) return false;
    m_pictureName = name;
    return true;
}

std::string CVirtualDev::ResolvePicturePath(const std::string& name) const {
    if (name.empty()) return name;
    const QString qname = QString::fromStdString(name);
    if (QDir::isAbsolutePath(qname) || qname.startsWith(QLatin1Char(':')) || m_pictureDir.empty())
        return name;
    const QString inDir = QDir(QString::fromStdString(m_pictureDir)).filePath(qname);
    if (QFileInfo::exists(inDir)) return inDir.toStdString();
    // A description beside a model's User.ini may use the pictures of the installation.
    const std::string found = FindDataFile(name);
    return QFileInfo::exists(QString::fromStdString(found)) ? found : name;
}

bool CVirtualDev::LoadPictureFile(const std::string& name, QImage& image) const {
    image = QImage();
    if (name.empty()) return false;
    return LoadDibFile(ResolvePicturePath(name), image);
}

void CVirtualDev::SetState(int state) {
    if (state != m_state) m_dirty = true;
    m_state = state;
}

void CVirtualDev::Attach(CPanelHost* host) {
    m_host = host;
    m_area = host ? host->PanelClientRect() : QRect();
    m_refWidth = m_area.width();
    m_refHeight = m_area.height();
    for (auto& child : m_children) child->Attach(host);
}

void CVirtualDev::SetTargetDC(QPainter* painter) {
    m_painter = painter;
    for (auto& child : m_children) child->SetTargetDC(painter);
}

void CVirtualDev::DrawChildren() {
    for (auto& child : m_children) {
        child->Draw();
        child->ClearDirty();
    }
}

QRect CVirtualDev::ScaledRect() const {
    const int x = ScaleCoordinate(m_left, m_area.width(), m_refWidth);
    const int y = ScaleCoordinate(m_top, m_area.height(), m_refHeight);
    const long long right = static_cast<long long>(x) + ScaleCoordinate(m_width, m_area.width(), m_refWidth);
    const long long bottom =
        static_cast<long long>(y) + ScaleCoordinate(m_height, m_area.height(), m_refHeight);
    return QRect(QPoint(x, y), QPoint(static_cast<int>(std::clamp<long long>(right, INT_MIN, INT_MAX) - 1),
                                      static_cast<int>(std::clamp<long long>(bottom, INT_MIN, INT_MAX) - 1)));
}

bool CVirtualDev::HitTest(int x, int y) const {
    const QRect r = ScaledRect();
    // Exclusive right/bottom edges; strictly inside the rectangle shrunk by 2 on each side.
    const long long left = r.left(), top = r.top();
    const long long right = static_cast<long long>(r.right()) + 1,
                    bottom = static_cast<long long>(r.bottom()) + 1;
    return x > left + 2 && x < right - 2 && y > top + 2 && y < bottom - 2;
}

CVirtualDev* CVirtualDev::FindChildByClass(const char* className, int n) const {
    if (n < 0) return nullptr;
    for (const auto& child : m_children) {
        if (child->IsClass(className) && n-- == 0) return child.get();
    }
    return nullptr;
}

CVirtualDev* CVirtualDev::FindChild(const char* className, const std::string& identifier) const {
    for (const auto& child : m_children) {
        if (child->IsClass(className) && child->GetIdentifier() == identifier) return child.get();
    }
    return nullptr;
}

bool CVirtualDev::ReplaceChild(const char* className, const std::string& identifier,
                               std::unique_ptr<CVirtualDev> replacement) {
    if (!replacement) return false;
    for (auto& child : m_children) {
        if (child->IsClass(className) && child->GetIdentifier() == identifier) {
            replacement->SetRect(child->m_left, child->m_top, child->m_width, child->m_height);
            replacement->m_parent = this;
            child = std::move(replacement);  // the old object goes here
            return true;
        }
    }
    return false;
}

// --- classes ---------------------------------------------------------------------------------------

void CDevModule::OnMouseMove(int x, int y) {
    for (int i = 0; i < ChildCount(); ++i) GetChild(i)->OnMouseMove(x, y);
}

void CDevModule::OnClick(int x, int y) {
    for (int i = 0; i < ChildCount(); ++i) GetChild(i)->OnClick(x, y);
}

bool CPower::LoadPicture() {
    Publish(GetState());
    UpdateObservers();
    return true;
}

void CCom::OnMouseMove(int x, int y) {
    if (Host() && HitTest(x, y)) Host()->SetPanelCursor(PanelCursor::Port);
}

bool CCom::LoadPicture() {
    Publish(GetState());
    UpdateObservers();
    return true;
}

void CCom::OnClick(int x, int y) {
    if (Host() && HitTest(x, y)) Host()->ComClicked(*this);
}

CPort::CPort() {
    SetState(kPortEnabled);
}

void CPort::OnMouseMove(int x, int y) {
    if (Host() && HitTest(x, y)) Host()->SetPanelCursor(PanelCursor::Port);
}

bool CPort::LoadPicture() {
    const int state = GetState();
    if (state < 0 || state >= kStates) return false;
    QImage image;
    const bool ok = LoadPictureFile(m_statePictures[static_cast<std::size_t>(state)], image);
    // Without a picture for this state the port shows nothing rather than the old state's picture.
    SetPicture(image);
    if (!ok) return false;
    Publish(state);
    return true;
}

void CPort::OnClick(int x, int y) {
    if (!HitTest(x, y)) return;
    AnnouncePortClick();
    if (Host()) Host()->PortClicked(*this);
}

void CPort::SetStatus(int state, CPanelHost* host) {
    QRect dirty;
    {
        std::lock_guard<std::recursive_mutex> lock(TreeMutex());
        if (state == GetState()) return;
        SetState(state);
        for (CObserver* observer : Observers()) {
            int value = 2;
            if (state == kPortLink100 || state == kPortLink10) {
                auto* lamp = dynamic_cast<CLamp*>(observer);
                const bool speedLamp =
                    lamp && (lamp->GetType() == kLampS100M || lamp->GetType() == kLampLink);
                value = speedLamp ? state : 2;
            }
            Publish(value);
            observer->Update();
        }
        LoadPicture();
        dirty = GetRect();
    }
    // Outside the lock: the host only posts the request, but need not do so while we hold the tree.
    if (host) host->InvalidatePanelRect(dirty);
}

bool CPort::SetStatePictureName(int state, const std::string& name) {
    if (state < 0 || state >= kStates || name.size() > kMaxPictureName) return false;
    m_statePictures[static_cast<std::size_t>(state)] = name;
    return true;
}

std::string CPort::GetStatePictureName(int state) const {
    if (state < 0 || state >= kStates) return {};
    return m_statePictures[static_cast<std::size_t>(state)];
}

CLamp::CLamp() {
    SetName("Lamp");
    SetState(kLampOff);
}

bool CLamp::LoadPicture() {
    // The picture is taken from the state each time the lamp is drawn.
    SetState(GetState());
    return true;
}

void CLamp::Draw() {
    QPainter* painter = TargetDC();
    const int state = GetState();
    if (!painter || state < 0 || state >= static_cast<int>(m_statePictures.size())) return;
    const std::string& name = m_statePictures[static_cast<std::size_t>(state)];
    if (name.empty()) return;
    QImage image;
    if (LoadPictureFile(name, image)) painter->drawImage(QPoint(Left(), Top()), image);
}

void CLamp::Update() {
    CSubject* subject = Subject();
    if (!subject) return;
    const int value = subject->Published();
    SetState(value == 0 ? kLampOn : value == 1 ? kLamp1G : kLampOff);
    Draw();
}

bool CLamp::SetStatePictureName(int state, const std::string& name) {
    if (state < 0 || state >= static_cast<int>(m_statePictures.size()) || name.size() > kMaxPictureName)
        return false;
    m_statePictures[static_cast<std::size_t>(state)] = name;
    return true;
}

CLed::CLed() {
    SetName("Led");
}

bool CLed::LoadPicture() {
    if (m_index < 0 || m_index >= kPictures) return false;
    QImage image;
    const bool ok = LoadPictureFile(m_indexPictures[static_cast<std::size_t>(m_index)], image);
    SetPicture(image);
    return ok;
}

void CLed::SetIndex(int index) {
    m_index = index;
    LoadPicture();
}

bool CLed::SetIndexPictureName(int index, const std::string& name) {
    if (index < 0 || index >= kPictures || name.size() > kMaxPictureName) return false;
    m_indexPictures[static_cast<std::size_t>(index)] = name;
    return true;
}

std::string CLed::GetIndexPictureName(int index) const {
    if (index < 0 || index >= kPictures) return {};
    return m_indexPictures[static_cast<std::size_t>(index)];
}

// --- helpers ---------------------------------------------------------------------------------------

namespace {
void SetModulePorts(CVirtualDev& node, CPanelHost* host) {
    for (int i = 0; i < node.ChildCount(); ++i) {
        CVirtualDev* child = node.GetChild(i);
        if (auto* port = dynamic_cast<CPort*>(child)) port->SetStatus(kPortEnabled, host);
        SetModulePorts(*child, host);
    }
}

}  // namespace

void SetAllPorts(CVirtualDev& root, CPanelHost* host) {
    std::lock_guard<std::recursive_mutex> lock(CVirtualDev::TreeMutex());
    int number = 0;
    for (int i = 0; i < root.ChildCount(); ++i) {
        auto* port = dynamic_cast<CPort*>(root.GetChild(i));
        if (!port) continue;
        ++number;
        if (number <= 48)
            port->SetStatus(kPortEnabled, host);
        else if (number <= 52)
            port->SetStatus(kPortEmpty, host);
    }
    for (int i = 0; i < root.ChildCount(); ++i) {
        CVirtualDev* child = root.GetChild(i);
        if (child->IsClass("CModule")) SetModulePorts(*child, host);
    }
}

void SubscribeLamp(CLamp& lamp, CVirtualDev* parent) {
    if (auto* port = dynamic_cast<CPort*>(parent)) {
        port->Subscribe(&lamp);
    } else if (auto* com = dynamic_cast<CCom*>(parent)) {
        com->Subscribe(&lamp);
    }
}
