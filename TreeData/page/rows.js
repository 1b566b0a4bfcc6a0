// Row layout: where each shown row sits in the tree. Rows are one height,
// except those measured taller; their extra heights are summed in row order,
// so that any row's offset, and the rows in a stretch of the page, are found
// by a binary search without asking the browser for a layout.
export function createRowLayout(height) {
  const layout = { h: height, rows: [] };
  let extraAt = [], extraSum = [], totalExtra = 0;

  // Takes the shown rows (nodes with their measured `extra` pixels).
  layout.update = function (rows) {
    layout.rows = rows;
    extraAt = [];
    extraSum = [];
    let sum = 0;
    for (let i = 0; i < rows.length; i++) {
      if (rows[i].extra) {
        sum += rows[i].extra;
        extraAt.push(i);
        extraSum.push(sum);
      }
    }
    totalExtra = sum;
  };

  // The offset of row i from the top of the tree.
  layout.top = function (i) {
    let lo = 0, hi = extraAt.length;
    while (lo < hi) {
      const mid = (lo + hi) >> 1;
      if (extraAt[mid] < i) lo = mid + 1; else hi = mid;
    }
    return i * layout.h + (lo ? extraSum[lo - 1] : 0);
  };
  layout.heightOf = function (i) { return layout.h + layout.rows[i].extra; };
  layout.height = function () { return layout.rows.length * layout.h + totalExtra; };

  // The row at offset y (the first or last row beyond the ends).
  layout.rowAt = function (y) {
    let lo = 0, hi = layout.rows.length - 1;
    while (lo < hi) {
      const mid = (lo + hi + 1) >> 1;
      if (layout.top(mid) <= y) lo = mid; else hi = mid - 1;
    }
    return Math.max(0, lo);
  };

  // The row a page of `view` pixels below (or above) row i, at least one row
  // on, and never past the first or last row.
  layout.pageFrom = function (i, view, down) {
    const n = layout.rows.length;
    if (!n) return -1;
    const step = Math.max(layout.h, view - layout.h);
    let to = layout.rowAt(layout.top(i) + (down ? step : -step));
    if (down && to <= i) to = i + 1;
    if (!down && to >= i) to = i - 1;
    return Math.min(n - 1, Math.max(0, to));
  };
  return layout;
}
