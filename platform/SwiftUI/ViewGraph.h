#pragma once
// The retained tree behind a hosted view: one node per view (primitive or user view),
// identified among its siblings by position, type and explicit id. A node keeps the
// state slots of its view across rebuilds; a state write or a change of an observable
// property that the view's body read marks the node, and the graph rebuilds marked
// nodes on the next run-loop turn (its owner schedules update()). Layout proposes a
// size to each child, the child picks its size, the parent places it. An update lays
// out again only what its rebuilt views can move: a rebuilt view that answers every
// proposal of the last pass as before is placed where it was, and its parent is asked
// only when it does not; the region of the hosting view that the update changed (the
// old and the new extents of what was placed again) is kept for redrawing. Drawing
// skips the views whose extents lie outside the context's clip. Pointer events
// are hit-tested to a path of nodes whose gestures are recognised; keys go to the
// focused text field and the key handlers around it.
// Thread: main, every member.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CoreGraphics/CGRegion.h"
#include "Observation/Observation.h"
#include "Runtime/Runtime.h"
#include "SwiftUI/Environment.h"
#include "SwiftUI/Gesture.h"
#include "SwiftUI/View.h"

namespace SwiftUI {

// A key press as a key handler sees it. `key` is the key's character ("a", "\r" for
// Return, "\x1b" for Escape, "\x7f" for Delete); `characters` what it types.
struct KeyPress {
    enum Phase : int { down = 1, repeat = 2, up = 4, all = 7 };
    std::string key;
    std::string characters;
    unsigned modifiers = 0;
    Phase phase = down;
};

struct KeyEquivalent {
    static constexpr const char* returnKey = "\r";
    static constexpr const char* escape = "\x1b";
    static constexpr const char* deleteKey = "\x7f";
    static constexpr const char* tab = "\t";
};

enum class KeyPressResult { handled, ignored };

// A pointer event in the hosting view's coordinates (origin top-left, y down).
struct PointerEvent {
    enum class Phase { down, dragged, up, moved };
    Phase phase = Phase::down;
    CGPoint location;
    int clickCount = 1;
    unsigned modifiers = 0;
    double timestamp = 0;
};

class Node : public std::enable_shared_from_this<Node> {
  public:
    Node(ViewGraph& graph, Node* parent, AnyView view, size_t position, ViewID id);
    ~Node() { endTracking(); }

    ViewGraph& graph;
    Node* parent;
    AnyView view;
    // Identity among the siblings: position in the parent's list of views, the id
    // given by ForEach or .id(_:), and the view's type.
    size_t position;
    ViewID id;
    std::vector<std::shared_ptr<Node>> children;
    // What the view sees; its children may see a changed copy.
    EnvironmentValues environment;
    std::vector<std::shared_ptr<detail::SlotBase>> slots;

    // Layout: the frame in the parent's space; the transform (scale, rotation) the
    // node applies to its children's space.
    CGRect frame;
    CGAffineTransform contentTransform;
    // The proposal of the last placement (none before the first).
    std::optional<ProposedViewSize> placedProposal;
    // What the node and its children cover, in its local space (null before the first
    // placement: unknown).
    CGRect extent = CGRect::null();
    // The extent in the parent's space (where the parent draws the node).
    CGRect extentInParent() const;
    // Recomputes the extent from the bounds and the children's extents.
    void updateExtent();
    // Set by a stack on its children, read by spacers.
    std::optional<Axis> stackAxis;

    struct GestureAttachment {
        enum class Kind { exclusive, simultaneous, highPriority };
        Gesture gesture;
        Kind kind;
    };
    std::vector<GestureAttachment> gestures;
    struct KeyHandler {
        int phases;
        std::function<KeyPressResult(const KeyPress&)> action;
    };
    std::vector<KeyHandler> keyHandlers;
    bool hitTestingEnabled = true;
    std::string accessibilityIdentifier;
    std::string helpText;
    std::string coordinateSpaceName;
    std::vector<std::function<void()>> appearActions, disappearActions;

    CGSize size() const { return frame.size; }
    CGRect bounds() const { return {0, 0, frame.size.width, frame.size.height}; }
    // The size this node takes for a proposal (cached during one layout pass).
    CGSize sizeThatFits(ProposedViewSize proposal);
    // Sizes the node for the proposal and puts it at `origin` of the parent's space.
    void place(CGPoint origin, ProposedViewSize proposal);
    // Drops the sizes and placement kept from the last layout pass (the node was built
    // again, or what it holds changed size): the next placement lays it out afresh.
    void forgetLayout();
    // Local space to the hosting view's space, and back.
    CGAffineTransform transformToRoot() const;
    CGPoint convertToRoot(CGPoint p) const { return transformToRoot().apply(p); }
    CGPoint convertFromRoot(CGPoint p) const { return transformToRoot().inverted().apply(p); }
    CGRect frameInRoot() const { return bounds().applying(transformToRoot()); }
    CGRect extentInRoot() const {
        return extent.isNull() ? extent : extent.applying(transformToRoot());
    }
    bool isEnabled() const { return environment.isEnabled; }

    // What a primitive keeps across rebuilds to lay out faster (a text's measured size).
    std::shared_ptr<void> layoutMemo;

    // Internal to the graph.
    // The observations of the last build, ended when the node builds again.
    std::vector<ObservationTracking> trackings;
    void endTracking() {
        for (auto& t : trackings)
            t.cancel();
        trackings.clear();
    }
    size_t slotCursor = 0;
    bool dirty = false;
    bool attached = true;
    std::vector<std::pair<ProposedViewSize, CGSize>> sizeCache;
    // The children are placed for placedProposal and nothing inside changed since.
    bool placed = false;
    // Kept whole by an equal view since the last placement.
    bool kept = false;
    // Where the node covered the hosting view when the update kept it whole (none when
    // it was built: its drawing may have changed).
    std::optional<CGRect> keptExtentInRoot;
    // Its last build made other children than it had, or reordered them.
    bool childrenReplaced = true;
};

// Handed to a view's body: its state slots and environment.
class ViewContext {
  public:
    ViewContext(Node& node) : node_(node) {}

    // The next state slot of this view, made with `initial` on its first build.
    template <class T> State<T> state(T initial);
    FocusState<bool> focusState() { return FocusState<bool>(state(false)); }
    // The shared object of type T placed by .environment(_:) around this view; the
    // program stops when there is none (a view model the view needs is missing).
    template <class T> std::shared_ptr<T> environment() const;
    template <class T> std::shared_ptr<T> environmentIfPresent() const {
        return node_.environment.object<T>();
    }
    const EnvironmentValues& environmentValues() const { return node_.environment; }

    // For primitive views: the node being built and its new children.
    Node& node() { return node_; }
    void setChildren(std::vector<AnyView> views);
    void setChildren(std::vector<AnyView> views, const EnvironmentValues& childEnvironment);

  private:
    Node& node_;
};

class ViewGraph {
  public:
    explicit ViewGraph(AnyView root, EnvironmentValues environment = {});
    ~ViewGraph();
    ViewGraph(const ViewGraph&) = delete;
    ViewGraph& operator=(const ViewGraph&) = delete;

    // Replaces the root view (its state is kept when the type stays the same).
    void setRootView(AnyView root);
    void setEnvironment(std::function<void(EnvironmentValues&)> change);
    void setSize(CGSize size);
    CGSize size() const { return size_; }

    // Called once when a view is marked after the last update; the owner then runs
    // update() on the next run-loop turn. By default it queues update() on the main
    // dispatch queue.
    void setUpdateScheduler(std::function<void()> schedule);
    // Called after every update that changed the tree (the owner redraws
    // changedRegion()).
    void setDidUpdate(std::function<void()> action) { didUpdate = std::move(action); }
    // What the last update, resize or new root changed, in the hosting view's space:
    // the extents, before and after, of the views it placed again (all of the tree's
    // when it laid out the whole tree).
    const CGRegion& changedRegion() const { return changed; }
    bool needsUpdate() const { return !dirtyNodes.empty(); }
    // Rebuilds the marked views, lays the tree out and runs the appear, disappear and
    // change actions that the rebuild produced.
    void update();

    // Draws the tree into a context whose space is the hosting view's.
    void render(CGContext& context) const;

    // Input. True when a view took the event.
    bool pointer(const PointerEvent& event);
    bool keyPress(const KeyPress& press);
    // The hosting view lost the keyboard: the focused view loses its focus.
    void resignFocus();
    bool hasFocus() const { return !focused.expired(); }
    // Called when a view takes the focus (true) or the last focus ends (false): the
    // hosting view takes or gives up the window's keyboard.
    void setFocusHandler(std::function<void(bool)> handler) { focusChanged = std::move(handler); }
    // The focused text field's node, for drawing its caret.
    std::shared_ptr<Node> focusedNode() const { return focused.lock(); }

    // Menus: a Menu's click presents its items through the presenter (a window's
    // menu), and they stay presented until one is chosen or the menu is dismissed.
    void presentMenu(std::vector<struct MenuItem> items, CGRect anchorInRoot);
    const std::vector<struct MenuItem>* presentedMenu() const;
    // Runs the item found by its titles (submenu titles first); false when none.
    bool chooseMenuItem(const std::vector<std::string>& titlePath);
    void dismissMenu();
    void setMenuPresenter(std::function<void(const std::vector<struct MenuItem>&, CGRect)> p) {
        menuPresenter = std::move(p);
    }

    // Inspection (tests and tools): the root, and the first node with an
    // accessibility identifier.
    Node& root() const { return *root_; }
    const Node* find(const std::string& accessibilityIdentifier) const;
    std::optional<CGRect> frame(const std::string& accessibilityIdentifier) const;

    // Internal to the layer.
    void invalidate(Node& node);
    void build(Node& node);
    void reconcile(Node& parent, std::vector<AnyView> views, const EnvironmentValues& env);
    // Children already keyed; positions[i] is keyed[i]'s position in the parent's list.
    void reconcile(Node& parent, std::vector<detail::KeyedView> keyed,
                   std::vector<size_t> positions, const EnvironmentValues& env);
    void enqueueAfterUpdate(std::function<void()> action) {
        afterUpdate.push_back(std::move(action));
    }
    void focus(Node& node);
    void unfocus();
    void layout();

  private:
    class Session;
    void unmount(Node& node);
    // Cancels the running gestures of a node that leaves the tree.
    void cancelGestures(Node& node);
    void runAfterUpdate();
    void scheduleIfNeeded();
    // A view rebuilt by an update: how it answered proposals before, and where it was.
    struct Rebuilt {
        std::shared_ptr<Node> node;
        std::vector<std::pair<ProposedViewSize, CGSize>> sizes;
        CGRect extentInRoot;
    };
    // Places the rebuilt views again (or what holds them, when their sizes changed),
    // the whole tree when that reaches the root.
    void relayout(std::vector<Rebuilt> rebuilt);
    // Lays out the whole tree and counts all of it as changed.
    void layoutAll();
    // Whether a node built by this update draws what it drew before: it and every view
    // built inside draw only their children, and the subtrees kept whole by equal views
    // stay where they were.
    static bool drawsAsBefore(const Node& node);

    std::shared_ptr<Node> root_;
    CGSize size_;
    std::vector<std::weak_ptr<Node>> dirtyNodes;
    bool scheduled = false;
    std::function<void()> scheduler;
    std::function<void()> didUpdate;
    std::vector<std::function<void()>> afterUpdate;
    std::weak_ptr<Node> focused;
    std::shared_ptr<std::vector<struct MenuItem>> menu;
    std::function<void(const std::vector<struct MenuItem>&, CGRect)> menuPresenter;
    bool selectAllOnFocus = false;
    std::function<void(bool)> focusChanged;
    std::shared_ptr<Session> session;
    std::shared_ptr<bool> alive;
    CGRegion changed;
};

template <class T> State<T> ViewContext::state(T initial) {
    auto& slots = node_.slots;
    size_t index = node_.slotCursor++;
    if (index < slots.size()) {
        auto box = std::dynamic_pointer_cast<detail::StateBox<T>>(slots[index]);
        if (!box)
            fatalError("View state claimed in a different order than before");
        return State<T>(box);
    }
    auto box = std::make_shared<detail::StateBox<T>>(std::move(initial));
    box->owner = node_.weak_from_this();
    slots.push_back(box);
    return State<T>(box);
}

template <class T> std::shared_ptr<T> ViewContext::environment() const {
    auto object = node_.environment.object<T>();
    if (!object)
        fatalError(std::string("No object of type ") + typeid(T).name() +
                   " found in the view environment");
    return object;
}

namespace detail {

// Runs `body` so that a change of any observable property it reads marks `node`.
void trackBody(Node& node, const std::function<void()>& body);

template <class V> void Composite<V>::build(Node& node, ViewContext& ctx) const {
    std::optional<AnyView> result;
    trackBody(node, [&] { result = makeBody(value, ctx); });
    ctx.setChildren({*result});
}

} // namespace detail

} // namespace SwiftUI
