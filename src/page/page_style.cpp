#include "page/page_style.h"

const char* pageStyle() {
  return "body{font-family:system-ui,-apple-system,'Segoe UI',Roboto,sans-serif;"
         "margin:0;background:#f4f5f7;color:#1d2330}"
         "main{max-width:1200px;margin:0 auto;padding:16px 24px 40px}"
         "h1{font-size:22px;margin:8px 0 4px}h2{font-size:17px;margin:0 0 8px}"
         ".sources{color:#5a6270;font-size:13px;margin:0 0 14px}"
         "section{background:#fff;border:1px solid #dde0e5;border-radius:6px;"
         "padding:12px 16px;margin:0 0 14px;overflow-x:auto}"
         ".score{font-size:34px;font-weight:700;margin:0}"
         ".verdict{font-size:15px;font-weight:600}"
         ".ok{color:#1a7f37}.bad{color:#c62828}"
         "table{border-collapse:collapse;font-size:13px}"
         "th,td{padding:3px 8px;border-bottom:1px solid #eceef1;text-align:left;"
         "vertical-align:top;white-space:nowrap}"
         "td.n,th.n{text-align:right;font-variant-numeric:tabular-nums}"
         "th{background:#f7f8fa;font-weight:600}"
         ".note{color:#5a6270;font-size:12px;margin:6px 0 0}"
         "svg text{font-size:11px;fill:#4a5160}"
         "svg .grid{stroke:#e3e6ea;stroke-width:1}"
         "pre{background:#f7f8fa;padding:8px;white-space:pre-wrap;margin:0}"
         "ul.messages{margin:0;padding-left:20px;font-size:13px}";
}
