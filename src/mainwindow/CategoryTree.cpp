#include "CategoryTree.h"

#include "Grid.h"
#include "ImageList.h"
#include "NodeKeys.h"
#include "PasswordStore.h"
#include "Tree.h"

#include <QCoreApplication>
#include <QHash>
#include <QScopedValueRollback>

using mainwindow::categoryKey;
using mainwindow::ParseNodeKey;
using mainwindow::subCategoryKey;

namespace {

const QString RootKey = QStringLiteral("Root");
const QString NoCategoryKey = QStringLiteral("C0");

// The two special nodes ("C0", "S0C<n>") stand for no folder and never move.
bool isSpecial(const QString &key)
{
    return key.size() > 1 && key.at(1) == QLatin1Char('0');
}

struct Codes
{
    qint16 category = -1;
    qint16 subCategory = -1;
};

Codes codesOf(const QString &key)
{
    Codes codes;
    ParseNodeKey(key, codes.category, codes.subCategory, true);
    return codes;
}

} // namespace

CategoryTree::CategoryTree(controls::Tree &tree, app::RunState &state, QObject *parent)
    : QObject(parent), m_tree(tree), m_state(state)
{
    connect(&m_tree, &controls::Tree::nodeSelected, this, &CategoryTree::nodeSelected);
    connect(&m_tree, &controls::Tree::mouseDown, this,
            [this](Qt::MouseButton, Qt::KeyboardModifiers, QPoint at) { mouseDown(at); });
    connect(
        &m_tree, &controls::Tree::mouseMove, this,
        [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers, QPoint) { mouseMove(buttons); });
    connect(&m_tree, &controls::Tree::mouseUp, this, [this] { mouseUp(); });
    connect(&m_tree, &controls::Tree::expandedNode, this,
            [this](int node) { expandedOrCollapsed(node, true); });
    connect(&m_tree, &controls::Tree::collapsedNode, this,
            [this](int node) { expandedOrCollapsed(node, false); });
    connect(&m_tree, &controls::Tree::dragOver, this, &CategoryTree::dragOver);
    connect(&m_tree, &controls::Tree::dropped, this, &CategoryTree::dropped);
}

CategoryTree::~CategoryTree() = default;

void CategoryTree::LoadDragIcons(std::shared_ptr<const controls::ImageList> dragImages)
{
    m_dragImages = std::move(dragImages);
}

void CategoryTree::setCount(const QString &key, int count)
{
    if (const int node = m_tree.nodeIndex(key)) {
        m_tree.setRecordCount(node, count);
    }
}

void CategoryTree::LoadTree(const QString &selectKey)
{
    buildTree(selectKey);
    // One fill for the new tree, made here: selecting its first node may not
    // count as a change (the old tree's selection can have had its number).
    currentNodeIndex = m_tree.selectedNode();
    if (m_fillGrid) {
        m_fillGrid(currentNodeIndex);
    }
}

void CategoryTree::buildTree(const QString &selectKey)
{
    const QScopedValueRollback building(m_building, true);
    m_tree.clear();
    if (store().FileName().isEmpty()) {
        return;
    }
    // Each category's subcategories in one pass, not one pass per category.
    QHash<qint16, QList<const SubCategory *>> subsOf;
    for (const SubCategory &sub : store().SubCategories()) {
        subsOf[sub.codcat].append(&sub);
    }
    const int root = AddTreeNode(QStringLiteral("R"), store().Title(), 0);
    for (const Category &category : store().Categories()) {
        const int node = AddTreeNode(categoryKey(category.codcat), category.DescrCat, root);
        for (const SubCategory *sub : std::as_const(subsOf[category.codcat])) {
            AddTreeNode(subCategoryKey(sub->CodSCat, category.codcat), sub->DescrSCat, node);
        }
        m_tree.setExpanded(node, store().GetNodeExpanded(category.DescrCat));
    }
    const int first = m_tree.firstNode();
    // The file's own node stays open: its categories are what the user came for.
    m_tree.setExpanded(first, true);
    m_tree.ensureVisible(first);
    m_tree.setSelectedNode(first);
    if (const int kept = selectKey.isEmpty() ? 0 : m_tree.nodeIndex(selectKey)) {
        m_tree.setSelectedNode(kept);
    }
}

int CategoryTree::AddTreeNode(const QString &key, const QString &text, int parent)
{
    const QScopedValueRollback building(m_building, true);
    const PasswordStore &s = store();
    if (key.startsWith(QLatin1Char('R'))) {
        const int root = m_tree.addNode(0, controls::FirstChild, RootKey, text,
                                        QStringLiteral("VLM"), QStringLiteral("VLM"));
        m_tree.setRecordCount(root, s.Passwords().Count());
        m_tree.setMarker(root, true);
        if (s.CountNodePasswords(text) > 0 && m_tree.nodeIndex(NoCategoryKey) == 0) {
            const int none = m_tree.addNode(root, controls::FirstChild, NoCategoryKey,
                                            QStringLiteral("No Category"),
                                            QStringLiteral("CFOLDER"), QStringLiteral("OFOLDER"));
            m_tree.setRecordCount(none, s.CountCategoryPasswords(QString()));
        }
        return root;
    }
    if (key.startsWith(QLatin1Char('C'))) {
        const int node = m_tree.addNode(parent, controls::LastChild, key, text,
                                        QStringLiteral("CATCLOSE"), QStringLiteral("CATOPEN"));
        m_tree.setRecordCount(node, s.CountCategoryPasswords(text));
        m_tree.setExpanded(node, s.GetNodeExpanded(text));
        return node;
    }
    if (key.startsWith(QLatin1Char('S'))) {
        const Category *category = s.Categories().Item(m_tree.text(parent));
        const qint16 codcat = category != nullptr ? category->codcat : qint16(0);
        if (!m_tree.hasChildren(parent)) {
            const QString noneKey = QStringLiteral("S0") + key.mid(key.indexOf(QLatin1Char('C')));
            const int none = m_tree.addNode(parent, controls::FirstChild, noneKey,
                                            QStringLiteral("No SubCategory"),
                                            QStringLiteral("CFOLDER"), QStringLiteral("OFOLDER"));
            m_tree.setRecordCount(none, s.CountSubCategoryPasswords(codcat, QString()));
        }
        const int node = m_tree.addNode(parent, controls::LastChild, key, text,
                                        QStringLiteral("SCATCLOSE"), QStringLiteral("SCATOPEN"));
        m_tree.setRecordCount(node, s.CountSubCategoryPasswords(codcat, text));
        return node;
    }
    return 0;
}

void CategoryTree::RefreshNodeCounts(qint16 category, qint16 subCategory)
{
    if (subCategory >= 0) {
        setCount(subCategoryKey(subCategory, category),
                 store().CountSubCategoryPasswords(category, store().SubCategoryName(subCategory)));
    }
    if (category >= 0) {
        setCount(categoryKey(category),
                 store().CountCategoryPasswords(store().CategoryName(category)));
    }
}

void CategoryTree::nodeSelected(int node)
{
    // While the tree is being built LoadTree fills the grid when done.
    if (m_building || node == 0 || node == currentNodeIndex) {
        return;
    }
    if (m_fillGrid) {
        m_fillGrid(node);
    }
    currentNodeIndex = node;
}

void CategoryTree::mouseDown(QPoint position)
{
    // A press starts a new gesture: an expand or collapse of an earlier one
    // must not swallow this gesture's drop.
    expandToggled = false;
    const int node = m_tree.nodeAt(position);
    m_tree.setDropHighlight(node);
    if (node != 0) {
        m_tree.setSelectedNode(node);
        dragNodeIndex = node;
    }
    m_tree.setDropHighlight(0);
}

void CategoryTree::mouseMove(Qt::MouseButtons buttons)
{
    if (buttons == Qt::NoButton || dragNodeIndex == 0 || m_dragImages == nullptr) {
        return;
    }
    m_tree.setDragIcon(m_dragImages->pixmap(QStringLiteral("DRAGFOLD")));
    dropAllowed = true;
    m_tree.startDrag();
    // Whatever the drag ended with, the press that started it is over.
    dragNodeIndex = 0;
}

void CategoryTree::mouseUp()
{
    dragService.clear();
}

void CategoryTree::expandedOrCollapsed(int node, bool expanded)
{
    if (m_building) {
        return;
    }
    store().SetNodeExpanded(m_tree.text(node), expanded);
    expandToggled = true;
}

bool CategoryTree::acceptsRecords(int node) const
{
    if (node == 0 || dragService.isEmpty()) {
        return false;
    }
    const Codes t = codesOf(m_tree.key(node));
    return (t.category == 0 && t.subCategory == -1) || (t.category != -1 && t.subCategory != -1);
}

bool CategoryTree::folderTargetValid(int dragged, int target) const
{
    return target != 0 && dragged != 0 && target != dragged &&
           target != m_tree.parentNode(dragged) && !isSpecial(m_tree.key(dragged));
}

bool CategoryTree::folderDropAllowed(int dragged, int target) const
{
    if (!folderTargetValid(dragged, target)) {
        return false;
    }
    const Codes d = codesOf(m_tree.key(dragged));
    const Codes t = codesOf(m_tree.key(target));
    if (d.subCategory != -1) {
        return t.subCategory == -1 && t.category != 0;
    }
    if (d.category != -1) {
        return !m_tree.hasChildren(dragged) && t.subCategory == -1 && t.category >= 1;
    }
    return false;
}

bool CategoryTree::dragOverVerdict(const QObject *source, int state)
{
    if (state == 0) {
        return true;
    }
    if (state == 1) {
        return false;
    }
    const int target = m_tree.dropHighlight();
    if (source == &m_tree) {
        // The node under the pointer is selected once it is a target at all,
        // also where this folder may not go: the selection follows the pointer.
        if (folderTargetValid(dragNodeIndex, target)) {
            m_tree.setSelectedNode(target);
        }
        return folderDropAllowed(dragNodeIndex, target);
    }
    if (source != nullptr && source == m_gridSource) {
        return acceptsRecords(target);
    }
    return false;
}

void CategoryTree::setSourceIcon(const QObject *source, bool allowed)
{
    if (m_dragImages == nullptr) {
        return;
    }
    const QString key = !allowed            ? QStringLiteral("NODRAG")
                        : source == &m_tree ? QStringLiteral("DRAGFOLD")
                                            : QStringLiteral("DRAGPW");
    if (source == &m_tree) {
        m_tree.setDragIcon(m_dragImages->pixmap(key));
    } else if (source != nullptr && source == m_gridSource) {
        m_gridSource->setDragIcon(m_dragImages->pixmap(key));
    }
}

void CategoryTree::dragOver(const QObject *source, QPoint position, int state)
{
    m_tree.setDropHighlight(m_tree.nodeAt(position));
    const bool allowed = dragOverVerdict(source, state);
    if (allowed != dropAllowed) {
        setSourceIcon(source, allowed);
        dropAllowed = allowed;
    }
    m_tree.setDropAllowed(allowed);
}

void CategoryTree::dropRecord()
{
    const int target = m_tree.dropHighlight();
    if (!acceptsRecords(target)) {
        return;
    }
    const Codes to = codesOf(m_tree.key(target));
    const PasswordEntry *record = store().Passwords().Item(dragService);
    if (record == nullptr) {
        return;
    }
    const qint16 oldCategory = record->codcat;
    const qint16 oldSubCategory = record->CodSCat;
    store().MovePassword(dragService, to.category, to.subCategory);
    RefreshNodeCounts(to.category, to.subCategory);
    RefreshNodeCounts(oldCategory, oldSubCategory);
    m_tree.setSelectedNode(dragNodeIndex);
    m_tree.setDropHighlight(dragNodeIndex);
    if (m_fillGrid) {
        m_fillGrid(dragNodeIndex);
    }
    QCoreApplication::processEvents();
}

void CategoryTree::dropFolder(QPoint position)
{
    const int dragged = dragNodeIndex;
    const int target = m_tree.dropHighlight();
    if (dragged == 0 || target == 0) {
        const int node = m_tree.nodeAt(position);
        m_tree.setSelectedNode(node);
        m_tree.setDropHighlight(node);
    } else if (folderTargetValid(dragged, target)) {
        const Codes d = codesOf(m_tree.key(dragged));
        const Codes t = codesOf(m_tree.key(target));
        const QString name = m_tree.text(dragged);
        const bool targetIsRoot = m_tree.key(target) == RootKey;
        const bool targetIsCategory = t.category != -1 && t.subCategory == -1;
        QString newKey;
        bool done = false;
        if (d.subCategory != -1 && targetIsRoot) {
            if (store().AddCategory(name)) {
                const Category *created = store().Categories().Item(name);
                const qint16 n = created != nullptr ? created->codcat : qint16(0);
                done = store().CopySubCategory(d.category, n, name, true);
                newKey = categoryKey(n);
            }
        } else if (d.subCategory != -1 && targetIsCategory && t.category != 0) {
            done = store().MoveSubCategory(name, d.category, t.category);
            newKey = subCategoryKey(d.subCategory, t.category);
        } else if (d.subCategory == -1 && d.category != -1 && !m_tree.hasChildren(dragged) &&
                   targetIsCategory && t.category >= 1) {
            if (store().MoveCategoryToSubCategory(name, t.category)) {
                const SubCategory *created = store().SubCategories().Item(
                    QString::number(t.category) + QLatin1Char('!') + name);
                done = created != nullptr;
                newKey =
                    subCategoryKey(created != nullptr ? created->CodSCat : qint16(0), t.category);
            }
        }
        if (done) {
            const int parent = m_tree.parentNode(dragged);
            m_tree.removeNode(dragged);
            if (d.subCategory != -1) {
                const int first = m_tree.firstChild(parent);
                if (first != 0 && m_tree.nextSibling(first) == 0) {
                    m_tree.removeNode(first); // only "No SubCategory" was left
                }
            }
            AddTreeNode(newKey, name, target);
            dropAllowed = false;
        }
    }
    if (m_fillGrid) {
        m_fillGrid(m_tree.dropHighlight());
    }
}

void CategoryTree::dropped(const QObject *source, QPoint position)
{
    if (source != nullptr && source == m_gridSource) {
        if (!dragService.isEmpty()) {
            dropRecord();
        }
    } else if (source == &m_tree) {
        if (!expandToggled) {
            dropFolder(position);
        }
    } else {
        const int node = m_tree.nodeAt(position);
        m_tree.setSelectedNode(node);
        m_tree.setDropHighlight(node);
    }
    dragNodeIndex = 0;
    dragService.clear();
    expandToggled = false;
}
