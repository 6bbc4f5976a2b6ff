// Tree views, list views and tab strips: their items, and the image lists they show them from.

#include <rescalo/runtime/common_controls.h>

namespace rescalo::runtime {

using host::Args;
using host::Object;
using host::self;
using host::Variant;

namespace {

Variant collectionOrItem(const std::shared_ptr<ItemCollection>& c, Args index) {
  if (!index.empty()) return c->item(index[0]);
  return Variant(host::ObjectPtr(c));
}

std::string textArgument(Args a, std::size_t i) {
  Variant v = argument(a, i);
  return v.isEmpty() ? std::string() : v.toString();
}

bool descendsFrom(const Node& n, const Node& ancestor) {
  for (auto p = n.parent.lock(); p; p = p->parent.lock())
    if (p.get() == &ancestor) return true;
  return false;
}

// A tree's nodes: removing a node removes the nodes below it too.
class NodeCollection : public ItemCollection {
 public:
  using ItemCollection::ItemCollection;
  void removeItem(const Variant& indexOrKey) override {
    auto node = std::static_pointer_cast<Node>(itemAt(indexOrKey));
    for (int i = count(); i >= 1; --i)
      if (descendsFrom(*at1<Node>(i), *node)) ItemCollection::removeItem(Variant(i));
    ItemCollection::removeItem(Variant(positionOf(*node)));
  }
};

}  // namespace

// ---- tree view ----

std::shared_ptr<ItemCollection> TreeView::nodes() {
  if (!nodes_) {
    auto me = std::static_pointer_cast<TreeView>(shared_from_this());
    nodes_ = std::make_shared<NodeCollection>("Nodes", me);
    std::weak_ptr<TreeView> w = me;
    nodes_->adder = [w](Args a) {
      // [Relative], [Relationship], [Key], [Text], [Image], [SelectedImage]
      host::expectArgs(a, 0, 6);
      auto tree = w.lock();
      if (!tree) host::raise(host::kObjectNotSet);
      return Variant(
          host::ObjectPtr(tree->addNode(argument(a, 0), argument(a, 1), keyArgument(argument(a, 2)),
                                        textArgument(a, 3), argument(a, 4), argument(a, 5))));
    };
  }
  return nodes_;
}

std::shared_ptr<Node> TreeView::addNode(const Variant& relative, const Variant& relationship,
                                        const std::string& key, const std::string& text,
                                        const Variant& image, const Variant& selectedImage) {
  auto n = std::make_shared<Node>();
  if (!relative.isEmpty()) {
    std::shared_ptr<Node> rel = relative.isObject()
                                    ? std::dynamic_pointer_cast<Node>(relative.toObject())
                                    : std::static_pointer_cast<Node>(nodes()->itemAt(relative));
    if (!rel || rel->owner() != nodes()) host::raise(host::kElementNotFound);
    int r = relationship.isEmpty() ? 1 : relationship.toLong();
    if (r < 0 || r > 4) host::raise(host::kInvalidProcedureCall);
    n->parent = r == 4 ? rel : rel->parent.lock();
  }
  n->text = text;
  n->image = image;
  n->selectedImage = selectedImage;
  nodes()->insert(n, Variant(), key);
  return n;
}

ImageListRef* TreeView::imageListRef(std::string_view n) {
  return host::equalsNoCase(n, "ImageList") ? &imageList : nullptr;
}

const host::MemberTable& TreeView::memberTable() {
  static const host::MemberTable table{
      {{"Nodes", [](Object& o, Args i) { return collectionOrItem(self<TreeView>(o).nodes(), i); }},
       {"ImageList", [](Object& o, Args) { return self<TreeView>(o).imageList.value(); },
        [](Object& o, Args, const Variant& v) { self<TreeView>(o).imageList.set(v); }}},
      {&rectMembers(), &fontMembers()}};
  return table;
}

// ---- list view ----

std::shared_ptr<ItemCollection> ListView::listItems() {
  if (!listItems_) {
    listItems_ = std::make_shared<ItemCollection>(
        "ListItems", std::static_pointer_cast<Control>(shared_from_this()));
    std::weak_ptr<ItemCollection> w = listItems_;
    listItems_->adder = [w](Args a) {
      host::expectArgs(a, 0, 5);  // [Index], [Key], [Text], [Icon], [SmallIcon]
      auto c = w.lock();
      if (!c) host::raise(host::kObjectNotSet);
      auto item = std::make_shared<ListItem>();
      item->text = textArgument(a, 2);
      item->icon = argument(a, 3);
      item->smallIcon = argument(a, 4);
      c->insert(item, argument(a, 0), keyArgument(argument(a, 1)));
      return Variant(host::ObjectPtr(item));
    };
  }
  return listItems_;
}

ImageListRef* ListView::imageListRef(std::string_view n) {
  if (host::equalsNoCase(n, "Icons")) return &icons;
  if (host::equalsNoCase(n, "SmallIcons")) return &smallIcons;
  return nullptr;
}

void ListView::store(frm::Block& block) const { storeNumber(block, "View", view, 0); }

const host::MemberTable& ListView::memberTable() {
  static const host::MemberTable table{
      {{"ListItems",
        [](Object& o, Args i) { return collectionOrItem(self<ListView>(o).listItems(), i); }},
       {"Icons", [](Object& o, Args) { return self<ListView>(o).icons.value(); },
        [](Object& o, Args, const Variant& v) { self<ListView>(o).icons.set(v); }},
       {"SmallIcons", [](Object& o, Args) { return self<ListView>(o).smallIcons.value(); },
        [](Object& o, Args, const Variant& v) { self<ListView>(o).smallIcons.set(v); }},
       {"View",
        [](Object& o, Args) { return Variant(static_cast<std::int32_t>(self<ListView>(o).view)); },
        [](Object& o, Args, const Variant& v) {
          std::int32_t view = v.toLong();
          if (view < 0 || view > 3) host::raise(host::kInvalidPropertyValue);
          self<ListView>(o).view = view;
        }}},
      {&rectMembers(), &fontMembers()}};
  return table;
}

// ---- tab strip ----

std::shared_ptr<ItemCollection> TabStrip::tabs() {
  if (!tabs_) {
    tabs_ = std::make_shared<ItemCollection>("Tabs",
                                             std::static_pointer_cast<Control>(shared_from_this()));
    std::weak_ptr<ItemCollection> w = tabs_;
    tabs_->adder = [w](Args a) {
      host::expectArgs(a, 0, 4);  // [Index], [Key], [Caption], [Image]
      auto c = w.lock();
      if (!c) host::raise(host::kObjectNotSet);
      auto t = std::make_shared<TabItem>();
      t->caption = textArgument(a, 2);
      t->image = argument(a, 3);
      c->insert(t, argument(a, 0), keyArgument(argument(a, 1)));
      return Variant(host::ObjectPtr(t));
    };
  }
  return tabs_;
}

void TabStrip::loadBlock(const frm::PropertyBlock& block, const ValueReader& read) {
  if (!host::equalsNoCase(block.name, "Tabs")) return;
  for (const auto& e : block.entries) {
    const auto* pb = std::get_if<frm::PropertyBlock>(&e);
    if (!pb) continue;
    auto t = std::make_shared<TabItem>();
    std::string key;
    for (const auto& pe : pb->entries) {
      const auto* p = std::get_if<frm::Property>(&pe);
      if (!p) continue;
      Variant v = read(*p);
      auto is = [&](const char* n) { return host::equalsNoCase(p->name, n); };
      if (is("Key"))
        key = v.toString();
      else if (is("Caption"))
        t->caption = v.toString();
      else if (is("Object.ToolTipText") || is("ToolTipText"))
        t->toolTipText = v.toString();
      else if (is("Object.Tag") || is("Tag"))
        t->tag = v.toString();
      else if (is("Image"))
        t->image = v;
    }
    try {
      tabs()->insert(t, Variant(), key);
    } catch (const host::HostError&) {
      // a key the file repeats is left out with its tab
    }
  }
}

ImageListRef* TabStrip::imageListRef(std::string_view n) {
  return host::equalsNoCase(n, "ImageList") ? &imageList : nullptr;
}

const host::MemberTable& TabStrip::memberTable() {
  static const host::MemberTable table{
      {{"Tabs", [](Object& o, Args i) { return collectionOrItem(self<TabStrip>(o).tabs(), i); }},
       {"ImageList", [](Object& o, Args) { return self<TabStrip>(o).imageList.value(); },
        [](Object& o, Args, const Variant& v) { self<TabStrip>(o).imageList.set(v); }}},
      {&rectMembers(), &fontMembers()}};
  return table;
}

}  // namespace rescalo::runtime
