// The game connection: one WebSocket to /ws on the page's own server. Every
// message in is stream bytes for the C++ assembler; every packet the model
// writes goes out as one binary message.
export interface ConnectionEvents {
  opened(): void;
  bytes(data: Uint8Array): void;
  closed(): void;
}

// The table rides in the address, so that a router in front of several
// servers (docs/deployment.md) sends the connection to the one holding that
// table; a single server takes /ws whatever follows the '?'.
export function socketUrl(location: Pick<Location, 'protocol' | 'host'>, table: number): string {
  return `${location.protocol === 'https:' ? 'wss:' : 'ws:'}//${location.host}/ws?table=${table}`;
}

export class Connection {
  private socket: WebSocket | null = null;

  constructor(
    private readonly url: () => string,  // asked at each connect: the table may change
    private readonly events: ConnectionEvents,
  ) {}

  get open(): boolean {
    return this.socket?.readyState === WebSocket.OPEN;
  }

  connect(): void {
    this.drop();
    const socket = new WebSocket(this.url());
    socket.binaryType = 'arraybuffer';
    socket.onopen = () => this.events.opened();
    socket.onmessage = (message: MessageEvent) => {
      if (message.data instanceof ArrayBuffer) this.events.bytes(new Uint8Array(message.data));
    };
    socket.onclose = () => {
      if (this.socket !== socket) return;
      this.socket = null;
      this.events.closed();
    };
    this.socket = socket;
  }

  send(packets: readonly Uint8Array[]): boolean {
    const socket = this.socket;
    if (!socket || socket.readyState !== WebSocket.OPEN) return packets.length === 0;
    for (const packet of packets) socket.send(packet);
    return true;
  }

  // Closes without reporting it (a new connection replaces this one).
  drop(): void {
    const socket = this.socket;
    this.socket = null;
    if (socket) {
      socket.onclose = null;
      socket.close();
    }
  }
}

// Waits between automatic reconnects: 1, 2, 4, then every 5 seconds.
export function reconnectDelayMs(attempt: number): number {
  return Math.min(5000, 1000 * 2 ** Math.max(0, attempt));
}
