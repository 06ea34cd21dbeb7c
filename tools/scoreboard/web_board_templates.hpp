#pragma once
// The web board's page (a mustache template: {{name}} is HTML-escaped, and
// the page uses no triple braces, so nothing reaches it unescaped) and its
// stylesheet, served from /web/ so that the Content-Security-Policy can
// forbid inline styles. The look is the game's: near-black deep sea, warm
// and cyan glows, white Comfortaa, each list lit in a neon colour.

namespace web_templates {

constexpr const char* kPage = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta name="color-scheme" content="dark">
<title>Ovelune · World's best</title>
<link rel="stylesheet" href="/web/board.css">
<link rel="alternate" type="application/json" href="/api/">
</head>
<body>
<header>
<h1>Ovelune</h1>
<p class="tagline">World's best</p>
<p class="policy">{{policy}}</p>
<nav>{{#ships}}<a href="#ship-{{ship}}">{{title}}</a> {{/ships}}<a class="api" href="/api/">JSON</a></nav>
</header>
<main>
{{#ships}}
<section class="ship" id="ship-{{ship}}">
<h2><span class="number">{{ship}}</span>{{title}}</h2>
{{#hasEntries}}
<table>
<thead><tr><th class="rank">#</th><th class="name">name</th><th class="score">score</th><th class="date">date</th><th class="proof" title="verified: the server played the run again">&#10004; run</th></tr></thead>
<tbody>
{{#entries}}
<tr><td class="rank">{{rank}}</td><td class="name">{{name}}</td><td class="score">{{shownScore}}</td><td class="date"><time datetime="{{date}}">{{day}}</time></td><td class="proof">{{#verified}}<span class="mark" title="verified: the server played the run again">&#10004;</span>{{/verified}}{{#replay}} <a href="{{replay}}" download>replay</a>{{/replay}}</td></tr>
{{/entries}}
</tbody>
</table>
{{/hasEntries}}
{{^hasEntries}}<p class="empty">No runs listed yet.</p>{{/hasEntries}}
<p class="more"><a href="{{api}}">JSON</a></p>
</section>
{{/ships}}
</main>
<footer>The same lists as JSON: <a href="/api/">/api/</a>. Replays play with <code>ovelune --replay FILE</code>.</footer>
</body>
</html>
)";

constexpr const char* kStyleSheet = R"(@font-face {
  font-family: "Ovelune Comfortaa";
  src: local("Comfortaa Bold"), local("Comfortaa-Bold"), url("/web/comfortaa.ttf") format("truetype");
  font-weight: 400 700;
}
:root {
  color-scheme: dark;
  --ink: #f4f6ff;
  --dim: #8ba0b2;
  --sea: #03070b;
}
* { box-sizing: border-box; }
html { background: var(--sea); }
body {
  margin: 0;
  min-height: 100vh;
  color: var(--ink);
  font-family: "Ovelune Comfortaa", Comfortaa, "Varela Round", Nunito, system-ui, sans-serif;
  line-height: 1.35;
  background:
    radial-gradient(55rem 38rem at 82% 12%, rgba(255, 140, 20, 0.18), transparent 70%),
    radial-gradient(48rem 40rem at 8% 85%, rgba(30, 200, 220, 0.11), transparent 70%),
    radial-gradient(36rem 28rem at 45% 45%, rgba(255, 40, 150, 0.07), transparent 70%),
    var(--sea);
  background-attachment: fixed;
}
a { color: #5ff0ff; text-decoration: none; }
a:hover, a:focus { text-decoration: underline; }
header { padding: 1.5rem 1.5rem 0.4rem; }
h1 {
  margin: 0;
  font-size: clamp(2.2rem, 6vw, 3.4rem);
  letter-spacing: 0.02em;
  text-shadow: 0 0 0.35rem rgba(255, 255, 255, 0.5), 0 0 1.6rem rgba(255, 164, 36, 0.55);
}
.tagline { margin: 0.1rem 0 0; font-size: 1.2rem; color: #ffb23e; text-shadow: 0 0 0.7rem rgba(255, 164, 36, 0.7); }
.policy { margin: 0.6rem 0 0; color: var(--dim); font-size: 0.9rem; max-width: 52rem; }
nav { margin-top: 0.8rem; display: flex; flex-wrap: wrap; gap: 0.3rem 1rem; font-size: 0.9rem; }
nav a { color: var(--dim); }
nav a.api { color: #5ff0ff; }
main {
  display: grid;
  grid-template-columns: repeat(3, minmax(0, 1fr));
  gap: 1rem;
  padding: 1rem 1.5rem 1.5rem;
}
.ship {
  --glow: #ff2e97;
  --soft: rgba(255, 46, 151, 0.35);
  padding: 0.8rem 0.75rem 0.6rem;
  border: 1px solid var(--soft);
  border-radius: 14px;
  background: rgba(6, 12, 20, 0.74);
  box-shadow: 0 0 1.4rem -0.3rem var(--soft), inset 0 0 1.2rem -0.6rem var(--soft);
}
.ship:nth-child(3n + 2) { --glow: #29e7ff; --soft: rgba(41, 231, 255, 0.33); }
.ship:nth-child(3n) { --glow: #ffa424; --soft: rgba(255, 164, 36, 0.35); }
h2 {
  margin: 0 0 0.5rem;
  font-size: 1.3rem;
  color: var(--glow);
  text-shadow: 0 0 0.5rem var(--soft), 0 0 1.2rem var(--soft);
}
h2 .number { margin-right: 0.5rem; font-size: 0.8rem; color: var(--dim); text-shadow: none; vertical-align: 0.15em; }
table { width: 100%; border-collapse: collapse; font-size: 0.9rem; font-variant-numeric: tabular-nums; }
th {
  padding: 0.2rem 0.3rem;
  border-bottom: 1px solid rgba(255, 255, 255, 0.14);
  color: var(--dim);
  font-size: 0.72rem;
  font-weight: normal;
  text-align: left;
  white-space: nowrap;
}
td { padding: 0.26rem 0.25rem; border-bottom: 1px solid rgba(255, 255, 255, 0.05); white-space: nowrap; }
.rank { width: 2.2em; text-align: right; color: var(--dim); }
td.name { width: 100%; max-width: 0; overflow: hidden; text-overflow: ellipsis; }
.score { text-align: right; }
.date { color: var(--dim); font-size: 0.74rem; }
.mark { color: #63ff9e; text-shadow: 0 0 0.4rem rgba(99, 255, 158, 0.8); }
.proof a { font-size: 0.74rem; }
tbody tr:nth-child(-n + 3) .name, tbody tr:nth-child(-n + 3) .score { color: var(--glow); text-shadow: 0 0 0.45rem var(--soft); }
tbody tr:first-child .rank { color: var(--glow); }
.empty { margin: 0.8rem 0.3rem; color: var(--dim); font-style: italic; }
.more { margin: 0.5rem 0 0; font-size: 0.8rem; text-align: right; }
footer { padding: 0 1.5rem 2rem; color: var(--dim); font-size: 0.85rem; }
code { color: var(--ink); }
@media (max-width: 1100px) { main { grid-template-columns: repeat(2, minmax(0, 1fr)); } }
@media (min-width: 2100px) { main { grid-template-columns: repeat(6, minmax(0, 1fr)); } }
@media (max-width: 700px) {
  header { padding: 1.1rem 1rem 0.2rem; }
  main { grid-template-columns: 1fr; gap: 1rem; padding: 0.8rem 0.7rem 1.2rem; }
  .ship { padding: 0.7rem 0.6rem 0.5rem; }
  table { font-size: 0.86rem; }
  th, td { padding-left: 0.2rem; padding-right: 0.2rem; }
  footer { padding: 0 1rem 1.5rem; }
}
)";

}  // namespace web_templates
