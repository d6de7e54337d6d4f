// Built-in scripts of the provider steps: the steps that must ask the
// database something before they change it (a probe, rows to read, a new
// identifier) or that go through the host's database connector. Each pushes
// its own query levels and leaves the caller's level as it found it.
#pragma once

#include "upgrade/catalogue.hpp"

namespace orvdb::upgrade {

// Script 15: gives the two value-list tables that lack it their [Position]
// column, numbered like their IDs.
void addMissingPositionColumns(UpgradeSession& session);

// Script 20: only in a database created from another (Version.CreateFrom=1),
// ComplementBackfill's picture columns become VARCHAR(64).
void widenBackfillPicturesOfCreatedDatabases(UpgradeSession& session);

// Script 21: the items of every text, value and item list numbered 0, 1, 2 ...
// in their previous order, and each list's current value moved to its
// current item's new number.
void renumberListPositions(UpgradeSession& session);

// Script 24: the visibility texts of the variables and list items become rows
// of the new table Expression, referred to by the new column isVisible.
void createVisibilityExpressions(UpgradeSession& session);

// Script 35: a construction model's after-procedure becomes a node under its
// before-procedure (or its before-procedure when it has none).
void moveAfterProcedures(UpgradeSession& session);

// Script 36: each glazing price takes its article's reference as OrderRef.
void fillGlazingOrderReferences(UpgradeSession& session);

// Script 40: Language, Action and Section renamed ZV_Language, ZV_Action and
// ZV_Section through the host's database connector.
void renameLanguageActionAndSection(UpgradeSession& session);

// Script 42: Machining.External renamed zvExternal through the connector.
void renameMachiningExternal(UpgradeSession& session);

// Script 44: TabBorderPairValue's Max and Min renamed zvMax and zvMin
// through the connector.
void renameBorderLimits(UpgradeSession& session);

// Script 46: each old border (kept in TmpTabBorders) becomes a pair value and
// a border row; TmpTabBorders is dropped.
void moveBorders(UpgradeSession& session);

// Script 47: the unitary packaging, its group and the row that links them.
void addUnitaryPackaging(UpgradeSession& session);

}  // namespace orvdb::upgrade
