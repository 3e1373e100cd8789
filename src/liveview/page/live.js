// The rider's live view: the Speed page's dials, instruction and run number, and the
// runs' power curves, from the dyno program's WebSocket. Read-only: nothing is sent.
"use strict";

const code = new URLSearchParams(location.search).get("code") || "";
// No message for this long: the values on the page are not live any more.
const staleAfterMs = 1000;
const reconnectAfterMs = 1000;
// A connection not open after this long is given up and tried again.
const connectGiveUpMs = 3000;
// Speed dial: 1.28 positions per km/h, figures every 10 up to 250. Rpm dial: figures in
// hundreds every 10 up to 200, red from 160; 62.5 rpm per position. 0 straight down,
// 320 degrees clockwise.
const speedScale = { steps: 25, stepValue: 10, positionsPerValue: 1.28, redFrom: 1000, title: "Speed" };
const rpmScale = { steps: 20, stepValue: 10, positionsPerValue: 1.6, redFrom: 160, title: "Rpm x100" };
const runColours = ["#ffff00", "#00ffff", "#ff00ff"];

const el = (id) => document.getElementById(id);
let socket = null;
let connectStartedAt = 0;
let reconnectTimer = null;
let lastMessageAt = 0;
let lastRevision = -1;
const latencies = [];
const transports = [];

function setState(state, text) {
  document.body.className = state;
  el("status").textContent = text;
}

function pointOnDial(c, position, radius) {
  const a = (90 + position) * Math.PI / 180;
  return [c + radius * Math.cos(a), c + radius * Math.sin(a)];
}

function arc(ctx, c, r, from, to, colour) {
  ctx.strokeStyle = colour;
  ctx.lineWidth = 12;
  ctx.beginPath();
  ctx.arc(c, c, r, (90 + from) * Math.PI / 180, (90 + to) * Math.PI / 180);
  ctx.stroke();
}

function drawDial(canvas, scale, position) {
  const ctx = canvas.getContext("2d");
  const c = canvas.width / 2, r = c * 0.82;
  ctx.fillStyle = "#000";
  ctx.fillRect(0, 0, canvas.width, canvas.height);
  const last = scale.steps * scale.stepValue * scale.positionsPerValue;
  const red = scale.redFrom * scale.positionsPerValue;
  arc(ctx, c, r, 0, Math.min(red, last), "#00a000");
  if (red < last) arc(ctx, c, r, red, last, "#ff0000");
  ctx.fillStyle = "#ffff00";
  ctx.font = "bold 11px sans-serif";
  ctx.textAlign = "center";
  ctx.textBaseline = "middle";
  for (let i = 0; i <= scale.steps; ++i) {
    const p = i * scale.stepValue * scale.positionsPerValue;
    const [x0, y0] = pointOnDial(c, p, r - 6), [x1, y1] = pointOnDial(c, p, r + 6);
    ctx.strokeStyle = "#fff";
    ctx.lineWidth = 2;
    ctx.beginPath(); ctx.moveTo(x0, y0); ctx.lineTo(x1, y1); ctx.stroke();
    if (i % 2 === 0) {
      const [tx, ty] = pointOnDial(c, p, r - 22);
      ctx.fillText(String(i * scale.stepValue), tx, ty);
    }
  }
  ctx.font = "bold 16px sans-serif";
  ctx.fillStyle = "#ff4040";
  ctx.fillText(scale.title, c, c + r * 0.45);
  if (position === null) return;
  const [nx, ny] = pointOnDial(c, position, r);
  ctx.strokeStyle = "#ffff00";
  ctx.lineWidth = 3;
  ctx.beginPath(); ctx.moveTo(c, c); ctx.lineTo(nx, ny); ctx.stroke();
}

function showLive(m) {
  drawDial(el("speedDial"), speedScale, m.speedPosition);
  drawDial(el("rpmDial"), rpmScale, m.rpmPosition);
  el("speedValue").textContent = m.speed.toFixed(0);
  el("speedUnit").textContent = m.speedUnit;
  el("rpmValue").textContent = m.rpm.toFixed(0);
  const instruction = el("instruction");
  instruction.textContent = m.instruction || "\u00a0";
  instruction.style.color = m.font;
  instruction.style.textShadow = "2px 2px 0 " + m.shadow;
  el("run").textContent = m.run > 0 ? String(m.run) : "-";
  // Only news counts: from the oldest change this message carries to its showing.
  if (m.revision !== lastRevision && lastRevision !== -1) {
    noteLatency(Date.now() - m.firstUnsentChangeAtMs, Date.now() - m.sentAtMs);
  }
  lastRevision = m.revision;
}

// The last hundred delays from a change at the dyno to the page, and of those the part
// from the send to the page, for whoever measures.
function noteLatency(ms, transportMs) {
  latencies.push(ms);
  transports.push(transportMs);
  if (latencies.length > 100) {
    latencies.shift();
    transports.shift();
  }
  const node = el("latency");
  node.dataset.count = String(Number(node.dataset.count) + 1);
  node.dataset.lastMs = String(ms);
  node.dataset.maxMs = String(Math.max(...latencies));
  node.dataset.all = latencies.join(",");
  node.dataset.transport = transports.join(",");
}

function drawCurves(m) {
  const canvas = el("curve"), ctx = canvas.getContext("2d");
  ctx.fillStyle = "#111";
  ctx.fillRect(0, 0, canvas.width, canvas.height);
  const runs = m.runs;
  if (runs.length === 0) return;
  const maxSpeed = Math.max(...runs.flatMap((r) => r.speed), 1);
  const maxPower = Math.max(...runs.flatMap((r) => r.power), 1) * 1.1;
  const x = (s) => 30 + (canvas.width - 40) * s / maxSpeed;
  const y = (p) => canvas.height - 20 - (canvas.height - 30) * p / maxPower;
  ctx.fillStyle = "#aaa";
  ctx.font = "12px sans-serif";
  ctx.fillText(m.speedUnit + " / " + m.powerUnit, 34, 14);
  runs.forEach((run, i) => {
    // The newest run drawn boldest, over the others.
    ctx.strokeStyle = runColours[(run.run - 1) % runColours.length];
    ctx.lineWidth = i === runs.length - 1 ? 3 : 1.5;
    ctx.beginPath();
    run.speed.forEach((s, k) => (k === 0 ? ctx.moveTo(x(s), y(run.power[k])) : ctx.lineTo(x(s), y(run.power[k]))));
    ctx.stroke();
  });
}

function showRuns(m) {
  drawCurves(m);
  const body = el("figures").querySelector("tbody");
  body.replaceChildren();
  for (const run of m.runs) {
    const row = document.createElement("tr");
    row.className = "run";
    const cells = [String(run.run), run.peakPower.toFixed(1) + " " + m.powerUnit,
      run.speedAtPeakPower.toFixed(1) + " " + m.speedUnit, run.peakTorque.toFixed(1) + " Nm",
      run.peakEnginePower === undefined ? "-" : run.peakEnginePower.toFixed(1) + " " + m.powerUnit];
    for (const text of cells) {
      const cell = document.createElement("td");
      cell.textContent = text;
      row.appendChild(cell);
    }
    row.style.color = runColours[(run.run - 1) % runColours.length];
    body.appendChild(row);
  }
  const spread = el("spread");
  if (m.spread && m.spread.peakPower.runs > 1) {
    spread.textContent = "Spread of peak power over " + m.spread.peakPower.runs + " runs: " +
      m.spread.peakPower.spreadPercent.toFixed(1) + " % (mean " + m.spread.peakPower.mean.toFixed(1) +
      " " + m.powerUnit + ")" + (m.spread.flaggedRun > 0 ? "; run " + m.spread.flaggedRun + " differs" : "");
  } else {
    spread.textContent = "";
  }
}

function reconnecting() {
  setState("reconnecting", "reconnecting");
  drawDial(el("speedDial"), speedScale, null);
  drawDial(el("rpmDial"), rpmScale, null);
}

// The socket is given up: the page says so at once and tries again shortly.
function dropSocket() {
  if (socket) {
    socket.onclose = null;
    socket.onmessage = null;
    socket.close();
    socket = null;
  }
  reconnecting();
  if (reconnectTimer === null) {
    reconnectTimer = setTimeout(() => {
      reconnectTimer = null;
      connect();
    }, reconnectAfterMs);
  }
}

function connect() {
  const scheme = location.protocol === "https:" ? "wss://" : "ws://";
  connectStartedAt = Date.now();
  lastRevision = -1;
  socket = new WebSocket(scheme + location.host + "/live?code=" + encodeURIComponent(code));
  socket.onmessage = (event) => {
    const m = JSON.parse(event.data);
    lastMessageAt = Date.now();
    if (m.type === "live") {
      setState("live", "live");
      showLive(m);
    } else if (m.type === "runs") {
      showRuns(m);
    }
  };
  socket.onclose = dropSocket;
}

// A connection that stays open but brings nothing is as good as none.
setInterval(() => {
  const now = Date.now();
  const isSilent = document.body.className === "live" && now - lastMessageAt > staleAfterMs;
  const isStuck = socket !== null && socket.readyState === WebSocket.CONNECTING &&
    now - connectStartedAt > connectGiveUpMs;
  if (isSilent || isStuck) dropSocket();
}, 250);

drawDial(el("speedDial"), speedScale, null);
drawDial(el("rpmDial"), rpmScale, null);
connect();
